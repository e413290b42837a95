#pragma once

#include "pkcs11/Token.h"
#include "token/types/VolumeOwner.h"

#include <functional>

// Runs a login through the PKCS#11 module and turns a refused or blocked PIN of `owner` into the
// tool's errors, with the attempts the token reports after the refusal. A refused local PIN the
// token does not know stays the module's own error; every other error passes unchanged.
void wrapPkcsLogin(const std::function<void()>& login, const VolumeOwner& owner, const quorvik::pkcs11::Token& token);
