#pragma once

#include <qvflash-core/apdu/FcpTag.h>
#include <qvflash-core/apdu/TLV.h>

namespace qvfl::FCP {

// Tag 83, the file identifier.
class FcpFileIdTag : public FcpTag {
public:
    static constexpr std::uint8_t kTag = 0x83;

    explicit FcpFileIdTag(const TLV& tlv);
    std::vector<std::uint8_t> toVector() const override;

    std::uint16_t fileId = 0;
};

} // namespace qvfl::FCP
