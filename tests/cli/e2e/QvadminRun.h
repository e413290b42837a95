#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

// A copy of the built program in a folder of its own, where a test may write the
// configuration file that the program reads beside itself.
class QvadminRun {
public:
    QvadminRun();
    ~QvadminRun();

    QvadminRun(const QvadminRun&) = delete;
    QvadminRun& operator=(const QvadminRun&) = delete;

    void writeConfig(const std::string& text) const;
    // Plugs full-featured virtual tokens into the run's own token folder.
    void createTokens(int count) const;
    // Loads the given library in place of the PKCS#11 module the program was linked with.
    void replaceModule(const std::filesystem::path& library);

    // Runs the program with the arguments; stdoutTarget, when given, replaces the capture.
    RunResult run(const std::vector<std::string>& args, const std::string& stdoutTarget = {}) const;

    const std::filesystem::path& folder() const { return dir; }

private:
    std::filesystem::path dir;
    std::filesystem::path libraryDir;
};
