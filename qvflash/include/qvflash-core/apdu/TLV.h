#pragma once

#include <qvflash-core/errors/Exception.h>

#include <cstdint>
#include <vector>

namespace qvfl {

enum class TlvType {
    Simple = 0, // SIMPLE-TLV: one length byte, or FF and two bytes big-endian
    Ber = 1,    // BER-TLV: short form, or 81 to 84 and one to four bytes
};

using ByteIterator = std::vector<std::uint8_t>::const_iterator;

// One tag with the position of its value inside the parsed buffer. It does
// not own the value: the buffer must outlive it. Tags are one byte.
struct TLV {
    std::uint8_t tag;
    ByteIterator begin;
    ByteIterator end;

    std::vector<std::uint8_t> value() const { return {begin, end}; }
    std::size_t size() const { return static_cast<std::size_t>(end - begin); }
};

// Splits [begin, end) into consecutive TLVs, in buffer order.
std::vector<TLV> parseTLVStructs(ByteIterator begin, ByteIterator end, TlvType type);

// The first TLV with the tag, or null.
const TLV* findTag(const std::vector<TLV>& tlvs, std::uint8_t tag);

// Length decoders. On entry length holds the first length byte and
// lengthOffset and lengthSize hold 1; on return they give the decoded length,
// where its bytes start (counted from the tag byte) and how many there are.
// begin is the tag byte.
void simpleTlvDecodeLength(ByteIterator begin, ByteIterator end, std::uint32_t& length, std::uint8_t& lengthOffset,
                           std::uint8_t& lengthSize);
void berTlvDecodeLength(ByteIterator begin, ByteIterator end, std::uint32_t& length, std::uint8_t& lengthOffset,
                        std::uint8_t& lengthSize);

// The failure of every TLV and FCP parser: an internal error with one
// parsing condition that names what was wrong.
Exception TlvParsingError(const char* text);

} // namespace qvfl
