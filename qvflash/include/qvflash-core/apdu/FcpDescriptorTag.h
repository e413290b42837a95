#pragma once

#include <qvflash-core/apdu/FcpTag.h>
#include <qvflash-core/apdu/TLV.h>

#include <optional>

namespace qvfl::FCP {

// Tag 82, the file descriptor. Record files (descriptor 14) also carry their
// maximum record size and the number of records.
class FcpDescriptorTag : public FcpTag {
public:
    static constexpr std::uint8_t kTag = 0x82;
    static constexpr std::uint8_t kRecordFile = 0x14;

    struct RecordInfo {
        std::uint16_t maxRecordSize;
        std::uint8_t recordCount;
    };

    explicit FcpDescriptorTag(const TLV& tlv);
    std::vector<std::uint8_t> toVector() const override;

    std::uint8_t descriptorByte = 0;
    std::uint8_t dataCodingByte = 0;
    std::optional<RecordInfo> recordInfo;
};

} // namespace qvfl::FCP
