#include "token/types/readPrefixedId.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

std::optional<std::uint16_t> readPrefixedId(const std::string& text, const std::string& prefix)
{
    if (text.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const char* digits = text.c_str() + prefix.size();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(digits, &end, 10);
    if (end == digits || errno == ERANGE || value < 0 || value > std::numeric_limits<std::uint16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}
