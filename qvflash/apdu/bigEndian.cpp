#include <qvflash-core/apdu/bigEndian.h>

namespace qvfl {

std::back_insert_iterator<std::vector<std::uint8_t>>
toBufferBE(std::back_insert_iterator<std::vector<std::uint8_t>> out, const std::uint16_t& value)
{
    *out++ = static_cast<std::uint8_t>(value >> 8);
    *out++ = static_cast<std::uint8_t>(value & 0xFF);
    return out;
}

std::uint64_t fromBufferBe(std::vector<std::uint8_t>::const_iterator begin,
                           std::vector<std::uint8_t>::const_iterator end)
{
    std::uint64_t value = 0;
    for (auto byte = begin; byte != end; ++byte) {
        value = (value << 8) | *byte;
    }
    return value;
}

} // namespace qvfl
