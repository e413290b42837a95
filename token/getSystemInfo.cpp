#include "token/getSystemInfo.h"

#include <algorithm>
#include <array>

std::string getSystemInfo(const std::function<int(char*, std::size_t)>& query,
                          const std::optional<std::string>& ignoredValue)
{
    std::array<char, 256> buffer{};
    if (query(buffer.data(), buffer.size()) != 0) {
        return {};
    }
    std::string text(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
    if (ignoredValue && text == *ignoredValue) {
        return {};
    }
    return text;
}
