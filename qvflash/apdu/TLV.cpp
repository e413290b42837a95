#include <qvflash-core/apdu/TLV.h>

#include <algorithm>

namespace qvfl {
namespace {

constexpr char kInvalidLength[] = "invalid length encoding in TLV";

std::size_t remaining(ByteIterator position, ByteIterator end)
{
    return static_cast<std::size_t>(end - position);
}

} // namespace

Exception TlvParsingError(const char* text)
{
    return Exception(QVFLASH_ST_INTERNAL_ERROR, {Condition(QVFLASH_COND_TLV_PARSING_ERROR, std::string(text))});
}

void simpleTlvDecodeLength(ByteIterator begin, ByteIterator end, std::uint32_t& length, std::uint8_t& lengthOffset,
                           std::uint8_t& lengthSize)
{
    // ISO 7816-4 SIMPLE-TLV: FF announces a two-byte length.
    if (length < 0xFF) {
        return;
    }
    constexpr std::size_t kHeaderSize = 4; // tag, FF, two length bytes
    if (remaining(begin, end) < kHeaderSize) {
        throw TlvParsingError(kInvalidLength);
    }
    lengthOffset = 2;
    lengthSize = 2;
    length = (static_cast<std::uint32_t>(begin[2]) << 8) | begin[3];
}

void berTlvDecodeLength(ByteIterator begin, ByteIterator end, std::uint32_t& length, std::uint8_t& lengthOffset,
                        std::uint8_t& lengthSize)
{
    // X.690 8.1.3: below 80 the short form; 81 to 84 count the length bytes
    // that follow; 80 (indefinite) and anything above 84 are refused.
    if (length < 0x80) {
        return;
    }
    if (length == 0x80 || length > 0x84) {
        throw TlvParsingError(kInvalidLength);
    }
    const std::uint8_t count = static_cast<std::uint8_t>(length - 0x80);
    if (remaining(begin, end) < static_cast<std::size_t>(count) + 2) {
        throw TlvParsingError(kInvalidLength);
    }
    std::uint32_t decoded = 0;
    for (std::uint8_t i = 0; i < count; ++i) {
        decoded = (decoded << 8) | begin[2 + i];
    }
    // A short length must use the short form; longer forms of long lengths
    // (82 00 FF) are accepted.
    if (decoded < 0x80) {
        throw TlvParsingError(kInvalidLength);
    }
    lengthOffset = 2;
    lengthSize = count;
    length = decoded;
}

std::vector<TLV> parseTLVStructs(ByteIterator begin, ByteIterator end, TlvType type)
{
    std::vector<TLV> result;
    ByteIterator position = begin;
    while (position != end) {
        if (remaining(position, end) < 2) {
            throw TlvParsingError("missing Tag or/and Length field");
        }
        std::uint32_t length = position[1];
        std::uint8_t lengthOffset = 1;
        std::uint8_t lengthSize = 1;
        if (type == TlvType::Simple) {
            simpleTlvDecodeLength(position, end, length, lengthOffset, lengthSize);
        } else {
            berTlvDecodeLength(position, end, length, lengthOffset, lengthSize);
        }
        const std::size_t headerSize = lengthOffset == 1 ? 2 : static_cast<std::size_t>(lengthOffset) + lengthSize;
        // Compare remaining lengths, never positions: a huge length must not
        // move an iterator past the end of the buffer.
        if (remaining(position, end) - headerSize < length) {
            throw TlvParsingError("buffer contains incomplete structure value");
        }
        const ByteIterator valueBegin = position + static_cast<std::ptrdiff_t>(headerSize);
        const ByteIterator valueEnd = valueBegin + static_cast<std::ptrdiff_t>(length);
        result.push_back(TLV{position[0], valueBegin, valueEnd});
        position = valueEnd;
    }
    return result;
}

const TLV* findTag(const std::vector<TLV>& tlvs, std::uint8_t tag)
{
    const auto found = std::find_if(tlvs.begin(), tlvs.end(), [tag](const TLV& tlv) { return tlv.tag == tag; });
    return found != tlvs.end() ? &*found : nullptr;
}

} // namespace qvfl
