#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>

namespace qvstandin {

bool validAccessMode(CK_ULONG mode);

// Changes one volume's access mode as its owner; `permanent` false keeps the change only
// until the token is plugged in again.
CK_RV changeVolumeAttributes(qvtoken::TokenState& token, CK_USER_TYPE userType, const CK_UTF8CHAR* pin,
                             CK_ULONG pinLength, CK_ULONG volumeId, CK_ULONG accessMode, bool permanent);

// Replaces the user-file sections of the drive as admin; the new volumes get ids 1..count in
// array order, sections of other kinds follow them.
CK_RV formatDrive(qvtoken::TokenState& token, CK_USER_TYPE userType, const CK_UTF8CHAR* pin, CK_ULONG pinLength,
                  const CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, CK_ULONG count);

} // namespace qvstandin
