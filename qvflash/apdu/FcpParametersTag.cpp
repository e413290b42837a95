#include <qvflash-core/apdu/FcpParametersTag.h>

namespace qvfl::FCP {
namespace {

constexpr std::uint8_t kMostAttempts = 10;

} // namespace

FcpParametersTag::FcpParametersTag(const TLV& tlv) : FcpTag(6, kTag)
{
    if (tlv.size() != 6) {
        throw TlvParsingError("invalid data length field in the TLV structure");
    }
    headByte = tlv.begin[0];
    lengthBytes = {tlv.begin[1], tlv.begin[2]};
    maxAttempts = static_cast<std::uint8_t>(tlv.begin[3] >> 4);
    remainingAttempts = static_cast<std::uint8_t>(tlv.begin[3] & 0x0F);
    tailByte = tlv.begin[4];
    if (maxAttempts == 0 || maxAttempts > kMostAttempts) {
        throw TlvParsingError("invalid max number of attempts in the TLV structure for VR-RSF");
    }
}

std::vector<std::uint8_t> FcpParametersTag::toVector() const
{
    return {tag,
            length,
            headByte,
            lengthBytes[0],
            lengthBytes[1],
            static_cast<std::uint8_t>((maxAttempts << 4) | remainingAttempts),
            tailByte,
            0x00};
}

} // namespace qvfl::FCP
