#include "VolumeRules.h"

#include "PinRules.h"

#include <qvtoken-core/SectionOwners.h>

#include <algorithm>
#include <limits>

namespace qvstandin {

using qvtoken::TokenState;

namespace {

constexpr CK_ULONG maxVolumes = 8;

bool validOwner(const TokenState& token, CK_ULONG owner)
{
    if (owner == QV_OWNER_ADMIN || owner == QV_OWNER_USER)
        return true;
    const auto* local = token.findLocalPin(owner);
    return owner >= QV_OWNER_FIRST_LOCAL_PIN && local != nullptr && !local->unset;
}

} // namespace

bool validAccessMode(CK_ULONG mode)
{
    return mode == QV_ACCESS_HIDDEN || mode == QV_ACCESS_READ_ONLY || mode == QV_ACCESS_READ_WRITE ||
           mode == QV_ACCESS_CD_ROM;
}

CK_RV changeVolumeAttributes(TokenState& token, CK_USER_TYPE userType, const CK_UTF8CHAR* pin, CK_ULONG pinLength,
                             CK_ULONG volumeId, CK_ULONG accessMode, bool permanent)
{
    if (!token.drive.present)
        return CKR_FUNCTION_NOT_SUPPORTED;
    auto* section = volumeId <= std::numeric_limits<unsigned>::max()
                        ? token.drive.findSection(static_cast<unsigned>(volumeId))
                        : nullptr;
    if (section == nullptr)
        return CKR_ARGUMENTS_BAD;
    if (userType != qvtoken::ownerCode(token, *section))
        return CKR_USER_TYPE_INVALID;
    if (const CK_RV rv = authenticateOwner(token, userType, pin, pinLength); rv != CKR_OK)
        return rv;
    if (!validAccessMode(accessMode))
        return CKR_ARGUMENTS_BAD;
    const auto& refused = token.switches.refusedTemporaryModes;
    if (!permanent && std::find(refused.begin(), refused.end(), accessMode) != refused.end())
        return CKR_ARGUMENTS_BAD;
    token.drive.setAccess(*section, static_cast<unsigned>(accessMode), !permanent);
    return CKR_OK;
}

CK_RV formatDrive(TokenState& token, CK_USER_TYPE userType, const CK_UTF8CHAR* pin, CK_ULONG pinLength,
                  const CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, CK_ULONG count)
{
    if (!token.drive.present)
        return CKR_FUNCTION_NOT_SUPPORTED;
    if (userType != CKU_SO)
        return CKR_USER_TYPE_INVALID;
    if (volumes == nullptr && count != 0)
        return CKR_ARGUMENTS_BAD;
    if (const CK_RV rv = authenticate(token.adminPin, pin, pinLength); rv != CKR_OK)
        return rv;
    if (count == 0 || count > maxVolumes)
        return CKR_ARGUMENTS_BAD;

    CK_ULONG total = 0;
    for (const auto& section : token.drive.sections)
        if (section.type != 0)
            total += section.size;
    for (CK_ULONG i = 0; i < count; ++i) {
        const auto& v = volumes[i];
        if (v.sizeMb < 1 || total > token.drive.sizeMb || v.sizeMb > token.drive.sizeMb - total)
            return CKR_DEVICE_MEMORY;
        total += v.sizeMb;
        if (!validAccessMode(v.accessMode) || !validOwner(token, v.owner))
            return CKR_ARGUMENTS_BAD;
    }
    std::vector<qvtoken::Section> layout;
    for (CK_ULONG i = 0; i < count; ++i)
        layout.push_back(qvtoken::userFilesSection(static_cast<unsigned>(i + 1), volumes[i].sizeMb,
                                                   static_cast<unsigned>(volumes[i].accessMode), volumes[i].owner));
    token.drive.replaceUserSections(std::move(layout));
    return CKR_OK;
}

} // namespace qvstandin
