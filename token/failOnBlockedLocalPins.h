#pragma once

#include "pkcs11/Token.h"

// Called on the PKCS#11 road once the user PIN's counter was reset. No PKCS#11 entry resets a
// local PIN's counter, only the token's card does, through the flash library: a local PIN the
// module reports blocked means the card did not answer on PC/SC. Fails with the partial-unblock
// error naming the blocked local PINs, or naming the error of reading them; the user PIN counts as
// reset in both.
void failOnBlockedLocalPins(const quorvik::pkcs11::Token& token);
