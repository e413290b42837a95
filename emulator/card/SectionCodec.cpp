#include "SectionCodec.h"

namespace qvcard {
namespace {

// Size codes 0..3 scale the 16-bit size value by these factors.
constexpr unsigned long sizeFactor[] = {1, 8, 16, 32};
constexpr unsigned long sizeLimit[] = {0x10000, 0x80000, 0x100000, 0x200000};

bool validAccess(unsigned state)
{
    return state == 0 || state == 1 || state == 3 || state == 5;
}

} // namespace

Bytes encodeSection(const qvtoken::TokenState& token, const qvtoken::Section& section)
{
    if (section.rawOverride) {
        return *section.rawOverride;
    }
    unsigned code = 0;
    while (code < 3 && section.size >= sizeLimit[code]) {
        ++code;
    }
    const unsigned long value = section.size / sizeFactor[code];
    Bytes tlv{0x80, 0x14, static_cast<std::uint8_t>(section.number)};
    tlv.push_back(static_cast<std::uint8_t>((token.drive.currentAccess(section) & 0x07) | (code << 3) |
                                            (section.type == 3 ? 0x40 : 0x00)));
    tlv.push_back(static_cast<std::uint8_t>(value >> 8));
    tlv.push_back(static_cast<std::uint8_t>(value));
    tlv.push_back(static_cast<std::uint8_t>(section.type == 1 || section.type == 2 ? section.type : 0));
    tlv.push_back(section.operationMask);
    for (std::size_t i = 0; i < 6; ++i) {
        tlv.push_back(i < section.conditions.size() ? section.conditions[i] : 0);
    }
    tlv.push_back(0x00);
    for (std::size_t i = 0; i < 6; ++i) {
        tlv.push_back(i < section.secrets.size() ? section.secrets[i] : 0);
    }
    tlv.push_back(0x00);
    return tlv;
}

std::optional<qvtoken::Section> decodeSection(const std::uint8_t* tlv)
{
    const std::uint8_t access = tlv[3];
    if (tlv[0] != 0x80 || tlv[1] != 0x14 || (access & 0xE0) != 0 || !validAccess(access & 0x07) || tlv[6] > 0x01) {
        return std::nullopt;
    }
    qvtoken::Section section;
    section.number = tlv[2];
    section.access = access & 0x07;
    section.size = static_cast<unsigned long>(tlv[4] << 8 | tlv[5]) * sizeFactor[(access >> 3) & 0x03];
    section.type = tlv[6];
    section.operationMask = tlv[7];
    section.conditions.assign(tlv + 8, tlv + 14);
    section.secrets.assign(tlv + 15, tlv + 21);
    return section;
}

} // namespace qvcard
