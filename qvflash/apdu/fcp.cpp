#include <qvflash-core/apdu/fcp.h>

#include <qvflash-core/apdu/FcpDescriptorTag.h>
#include <qvflash-core/errors/InvalidState.h>

#include <string>

namespace qvfl::FCP {
namespace {

constexpr std::size_t kCapabilitiesSize = 3;
constexpr std::uint8_t kSecurityEventLoggingBit = 0x01;
constexpr std::uint8_t kPartitioningBit = 0x04;

std::string invalidStateMessage(const char* operation, int line)
{
    return std::string("isValid() ") + __FILE__ + ":" + operation + ":" + std::to_string(line);
}

} // namespace

std::uint8_t getFcpDescriptor(const std::vector<TLV>& tlvs)
{
    const TLV* fcpTemplate = findTag(tlvs, kFcpTemplateTag);
    const std::vector<TLV> working =
        fcpTemplate != nullptr ? parseTLVStructs(fcpTemplate->begin, fcpTemplate->end, TlvType::Ber) : tlvs;
    const TLV* descriptor = findTag(working, FcpDescriptorTag::kTag);
    if (descriptor == nullptr) {
        throw Exception(QVFLASH_ST_INTERNAL_ERROR,
                        {Condition(QVFLASH_COND_APDU_RESPONSE, std::string("no descriptor in FCP"))});
    }
    return FcpDescriptorTag(*descriptor).descriptorByte;
}

FunctionalCapabilitiesView::FunctionalCapabilitiesView(const TLV& tlv) : tlv(tlv) {}

bool FunctionalCapabilitiesView::isValid() const
{
    return tlv.tag == kCapabilitiesTag && tlv.size() >= kCapabilitiesSize;
}

bool FunctionalCapabilitiesView::isSecurityEventLoggingSupported() const
{
    if (!isValid()) {
        throw InvalidState(invalidStateMessage("isSecurityEventLoggingSupported", __LINE__));
    }
    return (tlv.begin[2] & kSecurityEventLoggingBit) != 0;
}

bool FunctionalCapabilitiesView::isPartitioningSupported() const
{
    if (!isValid()) {
        throw InvalidState(invalidStateMessage("isPartitioningSupported", __LINE__));
    }
    return (tlv.begin[2] & kPartitioningBit) != 0;
}

} // namespace qvfl::FCP
