#include "pkcs11/Token.h"

#include "pkcs11/ModuleBytes.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/Wrapper.h"

namespace quorvik::pkcs11 {
namespace {

std::string trimmedDescription(const CK_SLOT_INFO& info)
{
    std::string text(reinterpret_cast<const char*>(info.slotDescription), sizeof info.slotDescription);
    const auto end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace

Token::Token(const detail::Wrapper& wrapper, CK_SLOT_ID slot, const CK_SLOT_INFO& info)
    : wrapper_(wrapper), slot_(slot), description_(trimmedDescription(info))
{
}

void Token::throwIfAbsent() const
{
    if (!present_.load())
        throw TokenNotPresentException();
}

std::uint64_t Token::serialNumber() const
{
    throwIfAbsent();
    if (!serialNumber_) {
        const CK_TOKEN_INFO_EXTENDED info = getTokenInfoEx();
        std::uint64_t serial = 0;
        for (const CK_BYTE byte : info.serial)
            serial = (serial << 8) | byte;
        serialNumber_ = serial;
    }
    return *serialNumber_;
}

Session Token::openSession(Session::Flags flags)
{
    throwIfAbsent();
    try {
        return Session(wrapper_, slot_, flags);
    } catch (const TokenNotPresentException& missing) {
        present_.exchange(false);
        throw missing;
    }
}

CK_TOKEN_INFO Token::getTokenInfo() const
{
    CK_TOKEN_INFO info{};
    wrapper_.getTokenInfo(slot_, &info);
    return info;
}

CK_TOKEN_INFO_EXTENDED Token::getTokenInfoEx() const
{
    // Zero-filled, so that a field the module leaves alone reads as 0 rather than stack contents.
    CK_TOKEN_INFO_EXTENDED info{};
    info.size = QV_TOKEN_INFO_EXTENDED_SIZE;
    wrapper_.exGetTokenInfoExtended(slot_, &info);
    return info;
}

std::vector<CK_VOLUME_INFO_EXTENDED> Token::getTokenVolumeInfoEx() const
{
    unsigned long count = 0;
    wrapper_.exGetVolumesInfo(slot_, nullptr, &count);
    std::vector<CK_VOLUME_INFO_EXTENDED> volumes(count, CK_VOLUME_INFO_EXTENDED{});
    wrapper_.exGetVolumesInfo(slot_, volumes.empty() ? nullptr : volumes.data(), &count);
    return volumes;
}

unsigned long Token::getDriveSize() const
{
    unsigned long sizeMb = 0;
    wrapper_.exGetDriveSize(slot_, &sizeMb);
    return sizeMb;
}

void Token::formatToken(std::string_view soPin, CK_QUORVIK_INIT_PARAM* param) const
{
    wrapper_.exInitToken(slot_, detail::moduleBytes(soPin), soPin.size(), param);
}

void Token::formatDrive(std::string_view soPin, std::vector<CK_VOLUME_FORMAT_INFO_EXTENDED>& volumes) const
{
    wrapper_.exFormatDrive(slot_, CKU_SO, detail::moduleBytes(soPin), soPin.size(), volumes.data(), volumes.size());
}

void Token::setVolumeAccessMode(unsigned long userType, std::string_view pin, unsigned long volumeId,
                                unsigned long accessMode, unsigned char permanent) const
{
    wrapper_.exChangeVolumeAttributes(slot_, userType, detail::moduleBytes(pin), pin.size(), volumeId, accessMode,
                                      permanent);
}

void Token::setLocalPin(std::string_view userPin, std::string_view localPin, unsigned long localPinId) const
{
    wrapper_.exSetLocalPIN(slot_, detail::moduleBytes(userPin), userPin.size(), detail::moduleBytes(localPin),
                           localPin.size(), localPinId);
}

void Token::createLocalPIN(std::string_view userPin, std::string_view localPin, unsigned long localPinId) const
{
    // The module creates the PIN when the id is new and changes it otherwise.
    setLocalPin(userPin, localPin, localPinId);
}

std::optional<LocalPinInfo> Token::getLocalPinInfo(unsigned long localPinId) const
{
    LocalPinInfo info{};
    info.id = localPinId;
    try {
        wrapper_.exSlotManage(slot_, QV_SLOT_OP_LOCAL_PIN_INFO, &info);
    } catch (const DeviceErrorException&) {
        // The module's only way of saying that no local PIN has this id.
        return std::nullopt;
    }
    return info;
}

bool Token::isTlsToken() const
{
    CK_QUORVIK_TLS_QUERY query{};
    try {
        wrapper_.exSlotManage(slot_, QV_SLOT_OP_TLS_QUERY, &query);
    } catch (const FunctionNotSupportedException&) {
        return false;
    }
    return query.isTls != 0;
}

} // namespace quorvik::pkcs11
