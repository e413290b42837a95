#pragma once

#include <cstdint>
#include <iterator>
#include <vector>

namespace qvfl {

// The bytes as one unsigned number, the first most significant; at most 8.
std::uint64_t fromBufferBe(std::vector<std::uint8_t>::const_iterator begin,
                           std::vector<std::uint8_t>::const_iterator end);

// Appends the value's high byte, then its low byte.
std::back_insert_iterator<std::vector<std::uint8_t>>
toBufferBE(std::back_insert_iterator<std::vector<std::uint8_t>> out, const std::uint16_t& value);

// The values in order, two bytes each, high byte first.
template <typename T>
std::vector<std::uint8_t> toBufferBe(const std::vector<T>& values)
{
    std::vector<std::uint8_t> buffer;
    buffer.reserve(values.size() * 2);
    auto out = std::back_inserter(buffer);
    for (const T& value : values) {
        out = toBufferBE(out, static_cast<std::uint16_t>(value));
    }
    return buffer;
}

} // namespace qvfl
