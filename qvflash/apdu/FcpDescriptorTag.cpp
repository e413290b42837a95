#include <qvflash-core/apdu/FcpDescriptorTag.h>

#include <qvflash-core/apdu/bigEndian.h>

namespace qvfl::FCP {

FcpDescriptorTag::FcpDescriptorTag(const TLV& tlv) : FcpTag(5, kTag)
{
    if (tlv.size() < 2) {
        throw TlvParsingError("invalid data length field in the TLV structure");
    }
    descriptorByte = tlv.begin[0];
    // The data coding byte is not interpreted; a new file always gets 00.
    dataCodingByte = 0x00;
    if (descriptorByte == kRecordFile) {
        if (tlv.size() < 5) {
            throw TlvParsingError("invalid data length field in the TLV structure");
        }
        recordInfo = RecordInfo{static_cast<std::uint16_t>((tlv.begin[2] << 8) | tlv.begin[3]), tlv.begin[4]};
    }
}

std::vector<std::uint8_t> FcpDescriptorTag::toVector() const
{
    std::vector<std::uint8_t> bytes{tag, length, descriptorByte, dataCodingByte};
    if (recordInfo) {
        toBufferBE(std::back_inserter(bytes), recordInfo->maxRecordSize);
        if (length >= 5) {
            bytes.push_back(recordInfo->recordCount);
        }
    }
    return bytes;
}

} // namespace qvfl::FCP
