#pragma once

#include "Bytes.h"

#include <cstdint>
#include <exception>
#include <vector>

namespace qvcard {

// One BER-TLV with a single-byte tag: the only tags this card reads or writes.
struct Tlv {
    std::uint8_t tag = 0;
    Bytes value;
};

// Appends tag, minimal BER length and value (ISO 7816-4 5.2: one byte up to 7F, 81 xx up to
// FF, 82 xx xx beyond).
void appendTlv(Bytes& out, std::uint8_t tag, const Bytes& value);

// Splits a buffer into consecutive TLVs. Accepts only single-byte tags and minimal BER lengths;
// throws MalformedTlv on anything else or on a value running past the end.
std::vector<Tlv> parseTlvs(const Bytes& buffer);

class MalformedTlv : public std::exception {
public:
    const char* what() const noexcept override { return "malformed TLV"; }
};

} // namespace qvcard
