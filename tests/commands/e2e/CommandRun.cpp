#include "CommandRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void check(bool ok, const std::string& what)
{
    if (!ok) {
        throw std::runtime_error(what);
    }
}

// Waits for the child; once the limit, when there is one, has passed, kills it first.
int waitFor(pid_t child, const std::optional<std::chrono::milliseconds>& limit)
{
    int status = 0;
    if (!limit) {
        waitpid(child, &status, 0);
        return status;
    }
    const auto deadline = std::chrono::steady_clock::now() + *limit;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

} // namespace

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool operator==(const CommandResult& a, const CommandResult& b)
{
    return a.status == b.status && a.out == b.out && a.err == b.err;
}

void PrintTo(const CommandResult& result, std::ostream* out)
{
    *out << "status " << result.status << ", out \"" << result.out << "\", err \"" << result.err << "\"";
}

CommandRun::CommandRun()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qvadmin-commands-XXXXXX").string();
    check(mkdtemp(pattern.data()) != nullptr, "cannot create a temporary folder");
    dir = pattern;
    appDir = dir / "app";
    scratchDir = dir / "scratch";
    // The program refuses log and PIN folders that others may write, whatever the umask.
    std::filesystem::create_directory(appDir);
    std::filesystem::permissions(appDir, std::filesystem::perms::owner_all);
    std::filesystem::create_directory(scratchDir);
    std::filesystem::permissions(scratchDir, std::filesystem::perms::owner_all);
    std::filesystem::copy_file(QVADMIN_PATH, appDir / "qvadmin");
    // The copy finds the module (and the project's libraries) in the build.
    setenv("LD_LIBRARY_PATH", QV_MODULE_DIR, 1);
    unsetenv("QVSTANDIN_TRACE");
}

// A test leaves nothing in the temporary folder: what cannot be removed here fails it.
CommandRun::~CommandRun()
{
    std::error_code error;
    std::filesystem::remove_all(dir, error);
    if (error) {
        ADD_FAILURE() << "the temporary folder " << dir << " stays: " << error.message();
    }
}

void CommandRun::traceModule()
{
    setenv("QVSTANDIN_TRACE", (scratchDir / "trace.txt").c_str(), 1);
}

std::string CommandRun::read(const std::filesystem::path& path) const
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CommandResult CommandRun::run(const std::vector<std::string>& args, const std::string& input,
                              const std::function<void()>& beforeExec) const
{
    return finish(start(args, input, beforeExec));
}

pid_t CommandRun::start(const std::vector<std::string>& args, const std::string& input,
                        const std::function<void()>& beforeExec) const
{
    const auto program = (appDir / "qvadmin").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const auto outPath = scratchDir / "out";
    const auto errPath = scratchDir / "err";
    int in[2];
    check(pipe(in) == 0, "cannot make a pipe");
    const pid_t child = fork();
    check(child >= 0, "cannot fork");
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(in[0], STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
            dup2(err, STDERR_FILENO) < 0 || chdir(scratchDir.c_str()) != 0) {
            _exit(126);
        }
        close(in[0]);
        close(in[1]);
        if (beforeExec) {
            beforeExec();
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    // Small inputs fit the pipe: the program need not read for the write to end.
    const bool written = write(in[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
    close(in[1]);
    if (!written) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        check(false, "cannot write the program's input");
    }
    return child;
}

CommandResult CommandRun::finish(pid_t started) const
{
    const int status = waitFor(started, runTimeLimit);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(scratchDir / "out"), read(scratchDir / "err")};
}

std::unique_ptr<PtyDriver> CommandRun::runOnTerminal(const std::vector<std::string>& args,
                                                     const std::function<void()>& beforeExec) const
{
    return std::make_unique<PtyDriver>((appDir / "qvadmin").string(), args, beforeExec);
}
