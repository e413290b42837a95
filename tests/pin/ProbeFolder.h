#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A copy of the probe program in a temporary folder of its own, where it finds its
// configuration file as the program does.
class ProbeFolder {
public:
    ProbeFolder();
    ~ProbeFolder();
    ProbeFolder(const ProbeFolder&) = delete;
    ProbeFolder& operator=(const ProbeFolder&) = delete;

    void writeConfig(const std::string& text) const;
    std::filesystem::path program() const;
    // Runs the copy with standard input given as a shell redirection ("</dev/null", "<&-"),
    // or, when pipedInput is set, fed from a pipe; gives its standard output.
    std::string run(const std::vector<std::string>& args, const std::string& stdinRedirection = "</dev/null",
                    const std::string& pipedInput = "") const;

private:
    std::filesystem::path dir_;
};
