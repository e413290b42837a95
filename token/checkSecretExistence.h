#pragma once

#include "flash/Token.h"

#include <cstdint>

// Throws NoSecretError when no login object of the token has `id`, and NotLocalUserObjectError
// or NotMvaObjectError when the one that has it is not of the `expected` kind.
void checkSecretExistence(const quorvik::qvflash::Token& token, std::uint16_t id, qvflash_SecretType expected);
