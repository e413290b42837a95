#pragma once

#include "PtyDriver.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

// The words of a command line, split at blanks.
std::vector<std::string> words(const std::string& line);

struct CommandResult {
    int status;
    std::string out;
    std::string err;
};
// Exit status, standard output and standard error, compared whole.
bool operator==(const CommandResult& a, const CommandResult& b);
void PrintTo(const CommandResult& result, std::ostream* out);

// A copy of the built program with the stand-in module in a temporary folder of its own, where
// it writes its log folder and PIN file. It sees the cards fixture's tokens and pcscd.
class CommandRun {
public:
    CommandRun();
    ~CommandRun();
    CommandRun(const CommandRun&) = delete;
    CommandRun& operator=(const CommandRun&) = delete;

    // Standard input is a pipe holding `input`, or empty. beforeExec runs in the program's
    // process right before it starts, to change what it inherits (async-signal-safe calls
    // only).
    CommandResult run(const std::vector<std::string>& args, const std::string& input = {},
                      const std::function<void()>& beforeExec = {}) const;
    // The same run, started only: the test acts on the program (signals it) while it runs, then
    // finishes it. One started run at a time.
    pid_t start(const std::vector<std::string>& args, const std::string& input = {},
                const std::function<void()>& beforeExec = {}) const;
    CommandResult finish(pid_t started) const;
    // The program on a pseudo-terminal, for the test to type at.
    std::unique_ptr<PtyDriver> runOnTerminal(const std::vector<std::string>& args,
                                             const std::function<void()>& beforeExec = {}) const;
    // The module's calls of the following runs go to trace.txt outside the program's folder.
    void traceModule();
    // A following run still going after this long is killed, and its status is -1.
    void limitRunTime(std::chrono::milliseconds limit) { runTimeLimit = limit; }

    const std::filesystem::path& folder() const { return appDir; }
    // A file's text, empty when it does not exist.
    std::string read(const std::filesystem::path& path) const;
    std::string trace() const { return read(scratchDir / "trace.txt"); }
    // A folder beside the program's, for files a test wants out of its way.
    const std::filesystem::path& scratch() const { return scratchDir; }

private:
    std::filesystem::path dir;
    std::filesystem::path appDir;
    std::filesystem::path scratchDir;
    bool tracing = false;
    std::optional<std::chrono::milliseconds> runTimeLimit;
};
