#pragma once

#include <qvflash-core/apdu/FcpTag.h>
#include <qvflash-core/apdu/TLV.h>

namespace qvfl::FCP {

// Tag A5 holding C0: one state byte per record, record 1 first.
class RecordStatusTag : public FcpTag {
public:
    static constexpr std::uint8_t kTag = 0xA5;
    static constexpr std::uint8_t kStatesTag = 0xC0;
    static constexpr std::uint8_t kEmptyRecord = 0x03;

    explicit RecordStatusTag(const TLV& tlv);
    explicit RecordStatusTag(std::vector<std::uint8_t> states);
    std::vector<std::uint8_t> toVector() const override;

    std::vector<std::uint8_t> recordStates;
};

} // namespace qvfl::FCP
