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

// The names of the blocked local PINs, comma-separated; empty when none is blocked.
std::string blockedLocalPins(const quorvik::pkcs11::Token& token)
{
    std::string names;
    for (std::uint16_t id = LocalUserId::minimum; id <= kLastLocalPinId; ++id) {
        const auto local = token.getLocalPinInfo(id);
        if (local && local->retriesLeft == 0) {
            names += (names.empty() ? "" : ", ") + toString(LocalUserId(id));
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
    } catch (const quorvik::pkcs11::FunctionNotSupportedException&) {
        // A module that keeps no local PINs for the token reports none blocked.
        return;
    } catch (const std::exception& error) {
        throw PartlyUnblockedError(error.what(), "user");
    }
    if (!blocked.empty()) {
        throw PartlyUnblockedError("Still blocked: " + blocked +
                                       " (only the token's card resets local PINs, and it didn't answer on PC/SC)",
                                   "user");
    }
}
