#include "Fcp.h"

#include "Tlv.h"

namespace qvcard {
namespace {

Bytes twoBytes(unsigned long value)
{
    return {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

std::uint8_t triesByte(unsigned long maxTries, unsigned long triesLeft)
{
    return static_cast<std::uint8_t>(((maxTries & 0x0F) << 4) | (triesLeft & 0x0F));
}

Bytes localPinFcp(const qvtoken::LocalPin& pin)
{
    Bytes body;
    appendTlv(body, 0x80, twoBytes(pin.pin.maxLength));
    appendTlv(body, 0x82, {0x10, 0x00});
    appendTlv(body, 0x83, twoBytes(pin.id));
    // Files made on the other road carry no raw attributes; they read as the card creates them.
    const Bytes security =
        !pin.raw86.empty() ? pin.raw86 : localPinSecurityAttributes(pin.secureType, pin.securityIndex);
    appendTlv(body, 0x86, security);
    appendTlv(body, 0x85,
              {pin.raw85Head, static_cast<std::uint8_t>(pin.pin.minLength), 0x00,
               triesByte(pin.pin.maxTries, pin.pin.triesLeft), 0x00, 0x00});
    Bytes fcp;
    appendTlv(fcp, 0x62, body);
    return fcp;
}

Bytes mvaFcp(const qvtoken::MvaFile& mva)
{
    // The descriptor carries the number of existing records (one per status byte in A5), and
    // the profile indicator 8F must be present: both are absent from the creation template.
    Bytes body;
    appendTlv(body, 0x82,
              {0x14, 0x00, static_cast<std::uint8_t>(mva.recordSize >> 8), static_cast<std::uint8_t>(mva.recordSize),
               static_cast<std::uint8_t>(mva.records.size())});
    appendTlv(body, 0x80, twoBytes(mva.maxRecords * mva.recordSize));
    appendTlv(body, 0x83, twoBytes(mva.id));
    Bytes p85 = mva.raw85.size() == 6 ? mva.raw85 : Bytes{0x21, 0x00, 0x00, 0x00, 0x00, 0x00};
    p85[3] = triesByte(mva.maxTries, mva.triesLeft);
    appendTlv(body, 0x85, p85);
    appendTlv(body, 0x86, !mva.raw86.empty() ? mva.raw86 : mvaSecurityAttributes());
    appendTlv(body, 0x8F, {0x81});
    Bytes states;
    for (const auto& record : mva.records) {
        states.push_back(record.status);
    }
    Bytes a5;
    appendTlv(a5, 0xC0, states);
    appendTlv(body, 0xA5, a5);
    Bytes fcp;
    appendTlv(fcp, 0x62, body);
    return fcp;
}

} // namespace

const Bytes& mvaSecurityAttributes()
{
    static const Bytes attributes{0x5F, 0x01, 0x01, 0x01, 0xFF, 0xFF, 0x00, 0xFF,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    return attributes;
}

Bytes localPinSecurityAttributes(std::uint8_t type, std::uint8_t index)
{
    return {0x43, 0x01, type, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, index, 0x00, 0x00, 0x00, 0x00, 0x00};
}

Bytes dedicatedFileFcp(std::uint16_t fileId)
{
    Bytes body;
    appendTlv(body, 0x82, {0x38});
    appendTlv(body, 0x83, twoBytes(fileId));
    appendTlv(body, 0x8A, {0x05});
    Bytes fcp;
    appendTlv(fcp, 0x62, body);
    return fcp;
}

Bytes entryFcp(const qvtoken::DirectoryEntry& entry)
{
    if (const auto* pin = std::get_if<qvtoken::LocalPin>(&entry)) {
        return localPinFcp(*pin);
    }
    if (const auto* mva = std::get_if<qvtoken::MvaFile>(&entry)) {
        return mvaFcp(*mva);
    }
    return std::get<qvtoken::OtherEntry>(entry).fcp;
}

} // namespace qvcard
