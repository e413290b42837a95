#include <qvflash-core/apdu/lengthTaggedField.h>

#include <qvflash-core/apdu/bigEndian.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kLengthTag = 0x80;
constexpr std::uint8_t kLengthSize = 0x02;
constexpr std::size_t kHeaderSize = 6;

} // namespace

std::vector<std::uint8_t> lengthTaggedField(std::uint8_t tag, const std::vector<std::uint8_t>& value)
{
    const std::size_t length = value.size();
    std::vector<std::uint8_t> field;
    field.reserve(kHeaderSize + length);
    field.push_back(kLengthTag);
    field.push_back(kLengthSize);
    toBufferBE(std::back_inserter(field), static_cast<std::uint16_t>(length));
    field.push_back(tag);
    field.push_back(static_cast<std::uint8_t>(length));
    field.insert(field.end(), value.begin(), value.end());
    return field;
}

} // namespace qvfl
