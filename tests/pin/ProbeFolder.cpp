#include "ProbeFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {

std::string quote(std::string const& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string commandLine(std::vector<std::string> const& args)
{
    std::string line = "./pin-probe";
    for (const auto& arg : args) {
        line += " " + quote(arg);
    }
    return line;
}

} // namespace

ProbeFolder::ProbeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "pin-probe-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    dir = pattern;
    std::filesystem::copy_file(PIN_PROBE_PATH, program());
}

ProbeFolder::~ProbeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void ProbeFolder::writeConfig(std::string const& text) const
{
    std::ofstream(dir / "qvadmin_conf.ini") << text;
}

std::filesystem::path ProbeFolder::program() const
{
    return dir / "pin-probe";
}

std::string ProbeFolder::run(std::vector<std::string> const& args, std::string const& stdinRedirection) const
{
    return runCommand(commandLine(args) + " " + stdinRedirection);
}

std::string ProbeFolder::runPiped(std::vector<std::string> const& args, std::string const& pipedInput) const
{
    return runCommand("printf %s " + quote(pipedInput) + " | " + commandLine(args));
}

std::string ProbeFolder::runCommand(std::string const& command) const
{
    const auto out = dir / "out";
    std::system(("cd " + quote(dir.string()) + " && " + command + " >" + quote(out.string())).c_str());
    std::ifstream in(out);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
