#include <qvflash-core/apdu/VrRsfResponseWrap.h>

#include <qvflash-core/apdu/fcp.h>

#include <optional>
#include <utility>

namespace qvfl::FCP {
namespace {

// Parses one tag object, refusing a second occurrence of the same tag.
template <typename Tag>
void parseOnce(std::optional<Tag>& slot, const TLV& tlv)
{
    if (slot) {
        throw TlvParsingError("the TLV structure for VR-RSF contains a duplicate tag");
    }
    slot.emplace(tlv);
}

std::vector<TLV> workingList(const std::vector<std::uint8_t>& response)
{
    if (!response.empty() && response.front() == kFcpTemplateTag) {
        const std::vector<TLV> outer = parseTLVStructs(response.begin(), response.end(), TlvType::Ber);
        if (outer.size() >= 2) {
            throw TlvParsingError("invalid FCP tlv");
        }
        return parseTLVStructs(outer.front().begin, outer.front().end, TlvType::Ber);
    }
    return parseTLVStructs(response.begin(), response.end(), TlvType::Ber);
}

} // namespace

VrRsfResponseWrap::VrRsfResponseWrap(FcpDescriptorTag descriptor, FcpFileIdTag fileIdTag,
                                     SecurityAttributesTag securityAttributes, FcpParametersTag parameters,
                                     FcpProfileIndicatorTag profileIndicator, RecordStatusTag recordStatus)
    : descriptor(std::move(descriptor)), fileIdTag(std::move(fileIdTag)),
      securityAttributes(std::move(securityAttributes)), parameters(std::move(parameters)),
      profileIndicator(std::move(profileIndicator)), recordStatus(std::move(recordStatus))
{
}

VrRsfResponseWrap VrRsfResponseWrap::makeFromTLVResponse(std::vector<std::uint8_t>& response)
{
    std::optional<FcpDescriptorTag> descriptor;
    std::optional<FcpFileIdTag> fileId;
    std::optional<FcpParametersTag> parameters;
    std::optional<SecurityAttributesTag> securityAttributes;
    std::optional<FcpProfileIndicatorTag> profileIndicator;
    std::optional<RecordStatusTag> recordStatus;

    for (const TLV& tlv : workingList(response)) {
        switch (tlv.tag) {
        case FcpDescriptorTag::kTag:
            parseOnce(descriptor, tlv);
            if (descriptor->descriptorByte != FcpDescriptorTag::kRecordFile) {
                throw TlvParsingError("invalid descriptor for VR-RSF");
            }
            break;
        case FcpFileIdTag::kTag:
            parseOnce(fileId, tlv);
            break;
        case FcpParametersTag::kTag:
            parseOnce(parameters, tlv);
            break;
        case SecurityAttributesTag::kTag:
            parseOnce(securityAttributes, tlv);
            break;
        case FcpProfileIndicatorTag::kTag:
            parseOnce(profileIndicator, tlv);
            break;
        case RecordStatusTag::kTag:
            parseOnce(recordStatus, tlv);
            break;
        default:
            break; // tags the library does not need (file size, life cycle, ...)
        }
    }
    if (!descriptor || !fileId || !parameters || !securityAttributes || !profileIndicator) {
        throw TlvParsingError("the TLV structure doesn't contain the required tags for VR-RSF");
    }
    return VrRsfResponseWrap(*descriptor, *fileId, *securityAttributes, *parameters, *profileIndicator,
                             recordStatus ? *recordStatus : RecordStatusTag(std::vector<std::uint8_t>{}));
}

std::uint16_t VrRsfResponseWrap::getFirstEmptyRecordId() const
{
    const std::vector<std::uint8_t>& states = recordStatus.recordStates;
    std::size_t index = 0;
    while (index < states.size() && states[index] != RecordStatusTag::kEmptyRecord) {
        ++index;
    }
    return static_cast<std::uint16_t>(index + 1);
}

} // namespace qvfl::FCP
