#pragma once

#include "Bytes.h"

#include <qvtoken-core/TokenState.h>

#include <optional>

namespace qvcard {

// The 22-byte section TLV (tag 80, length 14) the card reports in GET SECTIONS ATTRIBUTES and
// receives in SPLIT INTO SECTIONS.
constexpr std::size_t sectionTlvSize = 22;

Bytes encodeSection(const qvtoken::TokenState& token, const qvtoken::Section& section);

// Decodes one received TLV; empty when its frame, access byte or type byte is not one this
// card accepts. The section number is taken as sent.
std::optional<qvtoken::Section> decodeSection(const std::uint8_t* tlv);

} // namespace qvcard
