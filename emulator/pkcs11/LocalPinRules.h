#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>

namespace qvstandin {

// Creates local PIN `id`, authorised by the user PIN, or changes it, authorised by its own
// current value.
CK_RV setLocalPin(qvtoken::TokenState& token, const CK_UTF8CHAR* authPin, CK_ULONG authLength,
                  const CK_UTF8CHAR* newPin, CK_ULONG newLength, CK_ULONG id);

// Fills all six words for an existing local PIN; CKR_DEVICE_ERROR for any other id, the one
// "no such local PIN" answer callers understand.
CK_RV localPinInfo(const qvtoken::TokenState& token, LocalPinInfo& info);

} // namespace qvstandin
