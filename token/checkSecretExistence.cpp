#include "token/checkSecretExistence.h"

#include "cli/DomainError.h"

void checkSecretExistence(const quorvik::qvflash::Token& token, std::uint16_t id, qvflash_SecretType expected)
{
    const auto type = token.getLocalSecretType(id);
    if (!type) {
        throw NoSecretError();
    }
    if (*type == expected) {
        return;
    }
    if (expected == QVFLASH_SECRET_MVA) {
        throw NotMvaObjectError();
    }
    throw NotLocalUserObjectError();
}
