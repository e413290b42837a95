#include "osRelease.h"

#include "hostFiles.h"

#include <sstream>

namespace platform {
namespace {

// os-release values follow shell quoting: a value in double quotes may escape
// $, ", \ and ` with a backslash; one in single quotes is taken as it stands.
std::string unquoted(std::string_view value)
{
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front()) {
        return std::string(value);
    }
    const bool escapes = value.front() == '"';
    value = value.substr(1, value.size() - 2);
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (escapes && value[i] == '\\' && i + 1 < value.size()) {
            ++i;
        }
        text += value[i];
    }
    return text;
}

std::optional<std::string> fieldOf(const std::string& content, std::string_view key)
{
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        const std::string entry = trimmed(line);
        if (entry.size() > key.size() && entry.compare(0, key.size(), key) == 0 && entry[key.size()] == '=') {
            return unquoted(entry.substr(key.size() + 1));
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> osReleaseField(std::string_view key)
{
    // The second file is only the fallback for hosts without the first.
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
        if (const auto content = readFile(hostPath(file))) {
            return fieldOf(*content, key);
        }
    }
    return std::nullopt;
}

} // namespace platform
