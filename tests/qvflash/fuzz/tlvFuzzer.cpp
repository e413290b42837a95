// Feeds arbitrary card answers to every TLV and FCP parser. Parsing failures
// are the library's own exceptions; anything else, a sanitizer report, or a
// tag that does not read back as it was written is a crash.
#include <qvflash-core/apdu/VrRsfResponseWrap.h>
#include <qvflash-core/apdu/fcp.h>
#include <qvflash-core/errors/InvalidState.h>

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace qvfl;
using namespace qvfl::FCP;

namespace {

template <typename Tag>
Tag reparse(const Tag& tag)
{
    const std::vector<std::uint8_t> encoded = tag.toVector();
    if (encoded.size() != tag.getTagFullLength() && tag.tag != RecordStatusTag::kTag) {
        __builtin_trap();
    }
    return Tag(parseTLVStructs(encoded.begin(), encoded.end(), TlvType::Ber).at(0));
}

// Every tag object that parses must survive encoding and parsing again.
void checkRoundTrips(const TLV& tlv)
{
    try {
        switch (tlv.tag) {
        case FcpDescriptorTag::kTag: {
            // Only record files have an encoding that matches their length byte.
            const FcpDescriptorTag tag(tlv);
            if (!tag.recordInfo) {
                break;
            }
            const FcpDescriptorTag again = reparse(tag);
            if (again.descriptorByte != tag.descriptorByte || !again.recordInfo ||
                again.recordInfo->maxRecordSize != tag.recordInfo->maxRecordSize ||
                again.recordInfo->recordCount != tag.recordInfo->recordCount) {
                __builtin_trap();
            }
            break;
        }
        case FcpFileIdTag::kTag:
            if (reparse(FcpFileIdTag(tlv)).fileId != FcpFileIdTag(tlv).fileId) {
                __builtin_trap();
            }
            break;
        case FcpParametersTag::kTag:
            if (reparse(FcpParametersTag(tlv)).toVector() != FcpParametersTag(tlv).toVector()) {
                __builtin_trap();
            }
            break;
        case SecurityAttributesTag::kTag:
            if (reparse(SecurityAttributesTag(tlv)).toVector() != SecurityAttributesTag(tlv).toVector()) {
                __builtin_trap();
            }
            break;
        case FcpProfileIndicatorTag::kTag:
            reparse(FcpProfileIndicatorTag(tlv));
            break;
        case RecordStatusTag::kTag: {
            const RecordStatusTag tag(tlv);
            // States beyond 253 do not fit a one-byte length on the way back.
            if (tag.recordStates.size() <= 0x7F - 2 && reparse(tag).recordStates != tag.recordStates) {
                __builtin_trap();
            }
            break;
        }
        default: {
            const FunctionalCapabilitiesView view(tlv);
            if (view.isValid()) {
                view.isPartitioningSupported();
                view.isSecurityEventLoggingSupported();
            }
            break;
        }
        }
    } catch (const Exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(data, data + size);
    try {
        parseTLVStructs(bytes.begin(), bytes.end(), TlvType::Simple);
    } catch (const Exception&) {
    }
    try {
        const std::vector<TLV> tlvs = parseTLVStructs(bytes.begin(), bytes.end(), TlvType::Ber);
        for (const TLV& tlv : tlvs) {
            checkRoundTrips(tlv);
            if (tlv.tag == kFcpTemplateTag) {
                try {
                    for (const TLV& inner : parseTLVStructs(tlv.begin, tlv.end, TlvType::Ber)) {
                        checkRoundTrips(inner);
                    }
                } catch (const Exception&) {
                }
            }
        }
        getFcpDescriptor(tlvs);
    } catch (const Exception&) {
    }
    try {
        VrRsfResponseWrap::makeFromTLVResponse(bytes).getFirstEmptyRecordId();
    } catch (const Exception&) {
    }
    return 0;
}
