#include "ProbeFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
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

} // namespace

ProbeFolder::ProbeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "pin-probe-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    dir_ = pattern;
    std::filesystem::copy_file(PIN_PROBE_PATH, program());
}

ProbeFolder::~ProbeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void ProbeFolder::writeConfig(const std::string& text) const
{
    std::ofstream(dir_ / "qvadmin_conf.ini") << text;
}

std::filesystem::path ProbeFolder::program() const
{
    return dir_ / "pin-probe";
}

std::string ProbeFolder::run(const std::vector<std::string>& args, const std::string& stdinRedirection,
                             const std::string& pipedInput) const
{
    std::string command = "cd " + quote(dir_.string()) + " && ";
    if (!pipedInput.empty()) {
        command += "printf %s " + quote(pipedInput) + " | ";
    }
    command += "./pin-probe";
    for (const auto& arg : args) {
        command += " " + quote(arg);
    }
    std::system((command + " " + stdinRedirection + " >out").c_str());
    std::ostringstream text;
    text << std::ifstream(dir_ / "out").rdbuf();
    return text.str();
}
