#include "VolumeRules.h"

#include "PinRules.h"

#include <algorithm>

namespace qvstandin {

using qvtoken::TokenState;

namespace {

constexpr CK_ULONG maxVolumes = 8;

bool validOwner(const TokenState& token, CK_ULONG owner)
{
    if (owner == QV_OWNER_ADMIN || owner == QV_OWNER_USER) return true;
    const auto* local = token.findLocalPin(owner);
    return owner >= QV_OWNER_FIRST_LOCAL_PIN && local != nullptr && !local->unset;
}

}  // namespace

bool validAccessMode(CK_ULONG mode)
{
    return mode == QV_ACCESS_HIDDEN || mode == QV_ACCESS_READ_ONLY || mode == QV_ACCESS_READ_WRITE || mode == QV_ACCESS_CD_ROM;
}

CK_ULONG currentAccess(const qvtoken::Volume& volume)
{
    return volume.temporaryAccess.value_or(volume.access);
}

CK_RV changeVolumeAttributes(TokenState& token, CK_USER_TYPE userType, const CK_UTF8CHAR* pin, CK_ULONG pinLength,
                             CK_ULONG volumeId, CK_ULONG accessMode, bool permanent)
{
    if (!token.hasDrive) return CKR_FUNCTION_NOT_SUPPORTED;
    auto* volume = token.findVolume(volumeId);
    if (volume == nullptr) return CKR_ARGUMENTS_BAD;
    if (userType != volume->owner) return CKR_USER_TYPE_INVALID;
    if (const CK_RV rv = authenticateOwner(token, userType, pin, pinLength); rv != CKR_OK) return rv;
    if (!validAccessMode(accessMode)) return CKR_ARGUMENTS_BAD;
    if (permanent) {
        volume->access = accessMode;
        volume->temporaryAccess.reset();
        return CKR_OK;
    }
    const auto& refused = token.switches.refusedTemporaryModes;
    if (std::find(refused.begin(), refused.end(), accessMode) != refused.end()) return CKR_ARGUMENTS_BAD;
    volume->temporaryAccess = accessMode;
    return CKR_OK;
}

CK_RV formatDrive(TokenState& token, CK_USER_TYPE userType, const CK_UTF8CHAR* pin, CK_ULONG pinLength,
                  const CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, CK_ULONG count)
{
    if (!token.hasDrive) return CKR_FUNCTION_NOT_SUPPORTED;
    if (userType != CKU_SO) return CKR_USER_TYPE_INVALID;
    if (volumes == nullptr && count != 0) return CKR_ARGUMENTS_BAD;
    if (const CK_RV rv = authenticate(token.adminPin, pin, pinLength); rv != CKR_OK) return rv;
    if (count == 0 || count > maxVolumes) return CKR_ARGUMENTS_BAD;

    CK_ULONG total = 0;
    for (CK_ULONG i = 0; i < count; ++i) {
        const auto& v = volumes[i];
        if (v.sizeMb < 1 || v.sizeMb > token.driveSizeMb - total) return CKR_DEVICE_MEMORY;
        total += v.sizeMb;
        if (!validAccessMode(v.accessMode) || !validOwner(token, v.owner)) return CKR_ARGUMENTS_BAD;
    }
    std::vector<qvtoken::Volume> layout;
    for (CK_ULONG i = 0; i < count; ++i)
        layout.push_back({i + 1, volumes[i].sizeMb, volumes[i].accessMode, volumes[i].owner, std::nullopt});
    token.volumes = std::move(layout);
    return CKR_OK;
}

}  // namespace qvstandin
