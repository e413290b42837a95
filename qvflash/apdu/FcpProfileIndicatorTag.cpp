#include <qvflash-core/apdu/FcpProfileIndicatorTag.h>

namespace qvfl::FCP {

FcpProfileIndicatorTag::FcpProfileIndicatorTag(const TLV& tlv) : FcpTag(1, kTag)
{
    if (tlv.size() < 1) {
        throw TlvParsingError("invalid data length field in the TLV structure");
    }
    if (tlv.begin[0] != kRecordFileProfile) {
        throw TlvParsingError("unknown profile indicator for VR-RSF");
    }
    profile = kRecordFileProfile;
}

std::vector<std::uint8_t> FcpProfileIndicatorTag::toVector() const
{
    return {tag, length, profile};
}

} // namespace qvfl::FCP
