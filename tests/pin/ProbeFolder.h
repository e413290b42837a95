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
    ProbeFolder(ProbeFolder const&) = delete;
    ProbeFolder& operator=(ProbeFolder const&) = delete;

    void writeConfig(std::string const& text) const;
    std::filesystem::path program() const;
    // Runs the copy with standard input given as a shell redirection ("</dev/null", "<&-")
    // or fed from a pipe holding pipedInput; gives its standard output.
    std::string run(std::vector<std::string> const& args, std::string const& stdinRedirection = "</dev/null") const;
    std::string runPiped(std::vector<std::string> const& args, std::string const& pipedInput) const;

private:
    std::string runCommand(std::string const& command) const;

    std::filesystem::path dir;
};
