#pragma once

#include <qvflash-core/apdu/FcpTag.h>
#include <qvflash-core/apdu/TLV.h>

#include <array>

namespace qvfl::FCP {

// Tag 85, the proprietary parameters of a secret file; the library reads only
// the attempt counters and carries the other bytes.
class FcpParametersTag : public FcpTag {
public:
    static constexpr std::uint8_t kTag = 0x85;

    explicit FcpParametersTag(const TLV& tlv);
    std::vector<std::uint8_t> toVector() const override;

    std::uint8_t headByte = 0;
    std::array<std::uint8_t, 2> lengthBytes{};
    std::uint8_t maxAttempts = 0;       // 4 bits
    std::uint8_t remainingAttempts = 0; // 4 bits
    std::uint8_t tailByte = 0;
};

} // namespace qvfl::FCP
