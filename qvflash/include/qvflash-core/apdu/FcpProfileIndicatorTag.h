#pragma once

#include <qvflash-core/apdu/FcpTag.h>
#include <qvflash-core/apdu/TLV.h>

namespace qvfl::FCP {

// Tag 8F, the profile indicator; record files of the family always carry 81.
class FcpProfileIndicatorTag : public FcpTag {
public:
    static constexpr std::uint8_t kTag = 0x8F;
    static constexpr std::uint8_t kRecordFileProfile = 0x81;

    explicit FcpProfileIndicatorTag(const TLV& tlv);
    std::vector<std::uint8_t> toVector() const override;

    std::uint8_t profile = kRecordFileProfile;
};

} // namespace qvfl::FCP
