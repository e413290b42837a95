#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in the host's os-release (/etc/os-release, else
// /usr/lib/os-release), unquoted; nothing when neither file has it.
std::optional<std::string> osReleaseField(std::string_view key);

} // namespace platform
