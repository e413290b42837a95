#pragma once

#include <qvflash-core/apdu/FcpTag.h>
#include <qvflash-core/apdu/TLV.h>

namespace qvfl::FCP {

// Tag 86, the proprietary security attributes: an access mode byte, seven
// condition bytes and seven secret bytes, carried as they are.
class SecurityAttributesTag : public FcpTag {
public:
    static constexpr std::uint8_t kTag = 0x86;
    static constexpr std::size_t kBlockSize = 7;

    explicit SecurityAttributesTag(const TLV& tlv);
    SecurityAttributesTag(std::uint8_t accessMode, std::vector<std::uint8_t> conditionBlock,
                          std::vector<std::uint8_t> secretBlock);
    std::vector<std::uint8_t> toVector() const override;

    std::uint8_t accessMode = 0;
    std::vector<std::uint8_t> conditionBlock;
    std::vector<std::uint8_t> secretBlock;
};

// The security attributes every new MVA file gets.
const SecurityAttributesTag& mvaTemplateSecAttrTag();

} // namespace qvfl::FCP
