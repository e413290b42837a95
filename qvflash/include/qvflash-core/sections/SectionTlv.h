#pragma once

#include <qvflash-core/Section.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace qvfl {

// The 22-byte section TLV (tag 80, length 20) in which the card reports and
// receives sections.
namespace SectionTlv {

constexpr std::uint8_t kTag = 0x80;
constexpr std::size_t kValueSize = 20;
constexpr std::size_t kSize = kValueSize + 2;

// Sizes of this many units and more fit no size code.
constexpr std::uint32_t kSizeLimit = 0x200000;

// One section as the card receives it; number is its position in the list,
// from 1. A size that fits no size code throws 100010 with the size.
std::vector<std::uint8_t> formSectionTlv(std::uint8_t number, const Section& section);

// The answer to GET SECTIONS ATTRIBUTES, by section number.
SectionMap parseSections(const std::vector<std::uint8_t>& response);

// Bytes 7 to 21 of a section TLV: the operation mask, six condition bytes, a
// reserved byte and six secret bytes. Journal sections may leave only the
// temporary switch to read-only open.
std::map<Section::SwitchAccessOperations, SecurAttr> parseSectSecurAttrs(const std::vector<std::uint8_t>& bytes,
                                                                         bool journal);

// One operation's condition byte c and secret byte s.
SecurAttr parseSecurAttr(std::uint8_t c, std::uint8_t s);

} // namespace SectionTlv
} // namespace qvfl
