#include "QvadminRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

QvadminRun::QvadminRun() : libraryDir(QV_MODULE_DIR)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qvadmin-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    dir = pattern;
    std::filesystem::copy_file(QVADMIN_PATH, dir / "qvadmin");
    std::filesystem::create_directory(dir / "state");
}

QvadminRun::~QvadminRun()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void QvadminRun::writeConfig(const std::string& text) const
{
    std::ofstream(dir / "qvadmin_conf.ini") << text;
}

void QvadminRun::createTokens(int count) const
{
    const std::string command =
        "QVTOKEN_STATE_DIR=" + quote((dir / "state").string()) + " " + quote(QVTOKEN_PATH) + " create >/dev/null";
    for (int i = 0; i < count; ++i) {
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("cannot create a virtual token");
        }
    }
}

void QvadminRun::replaceModule(const std::filesystem::path& library)
{
    libraryDir = dir / "lib";
    std::filesystem::create_directory(libraryDir);
    std::filesystem::copy_file(library, libraryDir / "libqvpkcs11zrn.so");
}

RunResult QvadminRun::run(const std::vector<std::string>& args, const std::string& stdoutTarget) const
{
    // The copy's own library path points nowhere, so the module comes from the build
    // (or from the replacement, found first), the project's other libraries from the build,
    // and no virtual token of the user's is seen.
    const std::string libraryPath = libraryDir.string() + ":" + QV_MODULE_DIR;
    std::string command = "cd " + quote(dir.string()) + " && LD_LIBRARY_PATH=" + quote(libraryPath) +
                          " QVTOKEN_STATE_DIR=" + quote((dir / "state").string()) + " ./qvadmin";
    for (const auto& arg : args) {
        command += " " + quote(arg);
    }
    command += " >" + (stdoutTarget.empty() ? quote((dir / "out").string()) : stdoutTarget);
    command += " 2>" + quote((dir / "err").string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, stdoutTarget.empty() ? readFile(dir / "out") : std::string(),
            readFile(dir / "err")};
}
