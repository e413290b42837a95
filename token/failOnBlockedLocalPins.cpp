#include "token/failOnBlockedLocalPins.h"

#include "cli/DomainError.h"
#include "pkcs11/Pkcs11Exception.h"
#include "token/types/LocalUserId.h"

#include <cstdint>
#include <exception>
#include <string>

namespace {

// Local PINs and MVA objects share the identifiers 3 to 31 of the token's local-login directory.
// The module lists no local PINs, so each identifier is asked on its own.
constexpr std::uint16_t kLastLocalPinId = 31;

// The names of the blocked local PINs, comma-separated; empty when none is blocked. A module
// that answers the first identifier with CKR_FUNCTION_NOT_SUPPORTED keeps no local PINs for the
// token. Any failure after that, that answer included, is passed on, unless a local PIN was
// found blocked already: that one fails the token whatever the module says of the later ones.
std::string blockedLocalPins(const quorvik::pkcs11::Token& token)
{
    std::string names;
    for (std::uint16_t id = LocalUserId::minimum; id <= kLastLocalPinId; ++id) {
        try {
            const auto local = token.getLocalPinInfo(id);
            if (local && local->retriesLeft == 0) {
                names += (names.empty() ? "" : ", ") + toString(LocalUserId(id));
            }
        } catch (const std::exception& error) {
            // Nothing is found before the first identifier.
            const bool keepsNoLocalPins =
                id == LocalUserId::minimum &&
                dynamic_cast<const quorvik::pkcs11::FunctionNotSupportedException*>(&error) != nullptr;
            if (names.empty() && !keepsNoLocalPins) {
                throw;
            }
            return names;
        }
    }
    return names;
}

} // namespace

void failOnBlockedLocalPins(const quorvik::pkcs11::Token& token)
{
    std::string blocked;
    try {
        blocked = blockedLocalPins(token);
    } catch (const std::exception& error) {
        throw PartlyUnblockedError(error.what(), "user");
    }
    if (!blocked.empty()) {
        throw PartlyUnblockedError("Still blocked: " + blocked +
                                       " (only the token's card resets local PINs, and it didn't answer on PC/SC)",
                                   "user");
    }
}
