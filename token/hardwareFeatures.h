#pragma once

#include "pkcs11/Object.h"
#include "pkcs11/Session.h"

#include <optional>

// The token's hardware-feature objects. A feature counts as present only when exactly one
// object matches: two would leave it open which one the token obeys.

std::optional<quorvik::pkcs11::Object> findTokenInfoFeature(quorvik::pkcs11::Session& session);
std::optional<quorvik::pkcs11::Object> findTouchInterfaceFeature(quorvik::pkcs11::Session& session);
// The user's PIN policy, not the administrator's; throws NoPinPolicyError when absent.
quorvik::pkcs11::Object findUserPinPolicyFeature(quorvik::pkcs11::Session& session);
