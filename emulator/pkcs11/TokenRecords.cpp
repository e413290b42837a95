#include "TokenRecords.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace qvstandin {

namespace {

const char* const manufacturer = "Quorvik";

// Standard token flags
constexpr CK_FLAGS loginRequired = 0x4;
constexpr CK_FLAGS userPinInitialized = 0x8;
constexpr CK_FLAGS tokenInitialized = 0x400;
constexpr CK_FLAGS userPinCountLow = 0x10000;
constexpr CK_FLAGS userPinFinalTry = 0x20000;
constexpr CK_FLAGS userPinLocked = 0x40000;
constexpr CK_FLAGS userPinToBeChanged = 0x80000;
constexpr CK_FLAGS soPinCountLow = 0x100000;
constexpr CK_FLAGS soPinFinalTry = 0x200000;
constexpr CK_FLAGS soPinLocked = 0x400000;

CK_FLAGS counterFlags(const qvtoken::PinState& pin, CK_FLAGS countLow, CK_FLAGS finalTry, CK_FLAGS locked)
{
    if (pin.triesLeft == 0)
        return locked;
    if (pin.triesLeft == 1)
        return countLow | finalTry;
    return pin.triesLeft < pin.maxTries ? countLow : 0;
}

CK_VERSION versionOf(const qvtoken::Version& v)
{
    return CK_VERSION{static_cast<CK_BYTE>(v.major), static_cast<CK_BYTE>(v.minor)};
}

} // namespace

void padText(CK_UTF8CHAR* field, std::size_t size, const std::string& text)
{
    std::memset(field, ' ', size);
    std::memcpy(field, text.data(), std::min(size, text.size()));
}

void fillSlotInfo(const qvtoken::TokenState& token, bool present, CK_SLOT_INFO& info)
{
    padText(info.slotDescription, sizeof info.slotDescription, token.slotDescription);
    padText(info.manufacturerID, sizeof info.manufacturerID, manufacturer);
    info.flags = CKF_REMOVABLE_DEVICE | CKF_HW_SLOT | (present ? CKF_TOKEN_PRESENT : 0);
    info.hardwareVersion = versionOf(token.hardwareVersion);
    info.firmwareVersion = versionOf(token.firmwareVersion);
}

void fillTokenInfo(const qvtoken::TokenState& token, CK_ULONG sessions, CK_ULONG rwSessions, CK_TOKEN_INFO& info)
{
    padText(info.label, sizeof info.label, token.label);
    padText(info.manufacturerID, sizeof info.manufacturerID, manufacturer);
    padText(info.model, sizeof info.model, token.tokenClass == QV_TOKEN_CLASS_MOSK ? "Mosk" : "ZRN");
    padText(info.serialNumber, sizeof info.serialNumber, std::to_string(token.serial));
    info.flags = loginRequired | userPinInitialized | tokenInitialized |
                 counterFlags(token.userPin, userPinCountLow, userPinFinalTry, userPinLocked) |
                 counterFlags(token.adminPin, soPinCountLow, soPinFinalTry, soPinLocked) |
                 (token.userPinToBeChanged ? userPinToBeChanged : 0);
    info.ulMaxSessionCount = 0; // effectively infinite
    info.ulSessionCount = sessions;
    info.ulMaxRwSessionCount = 0;
    info.ulRwSessionCount = rwSessions;
    info.ulMaxPinLen = token.userPin.maxLength;
    info.ulMinPinLen = token.userPin.minLength;
    info.ulTotalPublicMemory = token.totalMemory;
    info.ulFreePublicMemory = token.freeMemory;
    info.ulTotalPrivateMemory = token.totalMemory;
    info.ulFreePrivateMemory = token.freeMemory;
    info.hardwareVersion = versionOf(token.hardwareVersion);
    info.firmwareVersion = versionOf(token.firmwareVersion);
    std::memset(info.utcTime, ' ', sizeof info.utcTime);
}

CK_TOKEN_INFO_EXTENDED tokenInfoExtended(const qvtoken::TokenState& token)
{
    CK_TOKEN_INFO_EXTENDED info;
    std::memset(&info, 0, sizeof info);
    info.size = sizeof info;
    info.featureNumber = token.featureNumber;
    info.flags = (token.pinChangeFlags & (QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN | QV_TOKEN_FLAG_USER_CHANGES_USER_PIN)) |
                 (token.drive.present ? QV_TOKEN_FLAG_HAS_FLASH_DRIVE : 0);
    info.maxSoPinLen = token.adminPin.maxLength;
    info.minSoPinLen = token.adminPin.minLength;
    info.maxUserPinLen = token.userPin.maxLength;
    info.minUserPinLen = token.userPin.minLength;
    info.maxSoRetry = token.adminPin.maxTries;
    info.soRetriesLeft = token.adminPin.triesLeft;
    info.maxUserRetry = token.userPin.maxTries;
    info.userRetriesLeft = token.userPin.triesLeft;
    for (int i = 0; i < 8; ++i)
        info.serial[i] = static_cast<CK_BYTE>(token.serial >> (8 * (7 - i)));
    info.totalMemory = token.totalMemory;
    info.freeMemory = token.freeMemory;
    info.tokenClass = token.tokenClass;
    return info;
}

} // namespace qvstandin
