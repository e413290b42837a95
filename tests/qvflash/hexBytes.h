#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// "62 31 82 05" as bytes: the notation of card traces.
inline std::vector<std::uint8_t> hexBytes(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::uint8_t> bytes;
    std::string byte;
    while (in >> byte) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    }
    return bytes;
}
