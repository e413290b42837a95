#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenState.h>

#include <optional>

namespace qvstandin {

// Checks a PIN against a secret as every entry of the module does: a wrong, empty, missing
// or out-of-range value counts down; a blocked secret refuses even the right one.
CK_RV authenticate(qvtoken::PinState& pin, const CK_UTF8CHAR* value, CK_ULONG length);

// The same against a volume or operation owner: 0 admin, 1 user, N local PIN N
// (CKR_USER_TYPE_INVALID when there is no such local PIN, or for owner 2).
CK_RV authenticateOwner(qvtoken::TokenState& token, CK_ULONG owner, const CK_UTF8CHAR* value, CK_ULONG length);

// The user PIN policy object's values, when the token has exactly one complete policy object.
std::optional<qvtoken::PinPolicyValues> userPinPolicy(const qvtoken::TokenState& token);

// Sets a new user PIN after the change-policy bit, length, composition and history checks;
// on success the old PIN enters the history, the counter is restored and a forced change ends.
CK_RV setUserPin(qvtoken::TokenState& token, CK_ULONG requiredPolicyBit, const CK_UTF8CHAR* pin, CK_ULONG length);

// Sets a new admin PIN; only its length is checked.
CK_RV setAdminPin(qvtoken::TokenState& token, const CK_UTF8CHAR* pin, CK_ULONG length);

} // namespace qvstandin
