#include <qvflash-core/apdu/RecordStatusTag.h>

#include <utility>

namespace qvfl::FCP {

RecordStatusTag::RecordStatusTag(const TLV& tlv) : FcpTag(0, kTag)
{
    for (const TLV& inner : parseTLVStructs(tlv.begin, tlv.end, TlvType::Ber)) {
        if (inner.tag == kStatesTag) {
            recordStates = inner.value();
            break;
        }
    }
    length = static_cast<std::uint8_t>(recordStates.size());
}

RecordStatusTag::RecordStatusTag(std::vector<std::uint8_t> states)
    : FcpTag(static_cast<std::uint8_t>(states.size()), kTag), recordStates(std::move(states))
{
}

std::vector<std::uint8_t> RecordStatusTag::toVector() const
{
    const auto count = static_cast<std::uint8_t>(recordStates.size());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + recordStates.size());
    bytes.assign({tag, static_cast<std::uint8_t>(count + 2), kStatesTag, count});
    bytes.insert(bytes.end(), recordStates.begin(), recordStates.end());
    return bytes;
}

} // namespace qvfl::FCP
