#include "token/types/readPrefixedId.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

std::optional<std::uint16_t> readPrefixedId(const std::string& text, const std::string& prefix)
{
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() == prefix.size() ||
        text.find_first_not_of("0123456789", prefix.size()) != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str() + prefix.size(), nullptr, 10);
    if (errno == ERANGE || value > std::numeric_limits<std::uint16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}
