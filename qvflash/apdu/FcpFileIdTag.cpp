#include <qvflash-core/apdu/FcpFileIdTag.h>

#include <qvflash-core/apdu/bigEndian.h>

namespace qvfl::FCP {

FcpFileIdTag::FcpFileIdTag(const TLV& tlv) : FcpTag(2, kTag)
{
    if (tlv.size() < 2) {
        throw TlvParsingError("invalid data length field in the TLV structure");
    }
    fileId = static_cast<std::uint16_t>((tlv.begin[0] << 8) | tlv.begin[1]);
}

std::vector<std::uint8_t> FcpFileIdTag::toVector() const
{
    std::vector<std::uint8_t> bytes{tag, length};
    toBufferBE(std::back_inserter(bytes), fileId);
    return bytes;
}

} // namespace qvfl::FCP
