#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// The text a system call such as gethostname writes into a zeroed 256-byte buffer: up to its
// first zero byte, or all 256 bytes when it has none. Empty when the call fails (non-zero
// result) or writes `ignoredValue`, the system's way of saying it has no value.
std::string getSystemInfo(const std::function<int(char*, std::size_t)>& query,
                          const std::optional<std::string>& ignoredValue);
