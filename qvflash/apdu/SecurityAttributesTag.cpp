#include <qvflash-core/apdu/SecurityAttributesTag.h>

#include <utility>

namespace qvfl::FCP {
namespace {

constexpr std::uint8_t kLength = 15;
constexpr std::uint8_t kNoAccessMode = 0x00;
constexpr std::uint8_t kRecordFileAccessMode = 0x5F;

} // namespace

SecurityAttributesTag::SecurityAttributesTag(const TLV& tlv) : FcpTag(kLength, kTag)
{
    if (tlv.size() != kLength) {
        throw TlvParsingError("invalid data length field in the TLV structure");
    }
    accessMode = tlv.begin[0];
    if (accessMode != kNoAccessMode && accessMode != kRecordFileAccessMode) {
        throw TlvParsingError("unknown access mode for VR-RSF");
    }
    conditionBlock.assign(tlv.begin + 1, tlv.begin + 1 + kBlockSize);
    secretBlock.assign(tlv.begin + 1 + kBlockSize, tlv.end);
}

SecurityAttributesTag::SecurityAttributesTag(std::uint8_t accessMode, std::vector<std::uint8_t> conditionBlock,
                                             std::vector<std::uint8_t> secretBlock)
    : FcpTag(kLength, kTag), accessMode(accessMode), conditionBlock(std::move(conditionBlock)),
      secretBlock(std::move(secretBlock))
{
}

std::vector<std::uint8_t> SecurityAttributesTag::toVector() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(3 + conditionBlock.size() + secretBlock.size());
    bytes.assign({tag, length, accessMode});
    bytes.insert(bytes.end(), conditionBlock.begin(), conditionBlock.end());
    bytes.insert(bytes.end(), secretBlock.begin(), secretBlock.end());
    return bytes;
}

const SecurityAttributesTag& mvaTemplateSecAttrTag()
{
    static const SecurityAttributesTag tag(kRecordFileAccessMode, {0x01, 0x01, 0x01, 0xFF, 0xFF, 0x00, 0xFF},
                                           {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    return tag;
}

} // namespace qvfl::FCP
