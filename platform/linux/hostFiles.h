#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// An absolute host path, under QV_HOST_ROOT when that is set and the build
// honours it.
std::filesystem::path hostPath(std::string_view absolutePath);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);

// Without leading and trailing blanks, line ends and NUL bytes.
std::string trimmed(std::string_view text);

} // namespace platform
