#pragma once

#include "flash/Token.h"
#include "pkcs11/ScopeGuard.h"
#include "pkcs11/Session.h"

#include <cstdint>

// Logins are ended by guards, so that a failed logout never fails the operation it follows: the
// error is reported on the standard error stream, naming the token (several tokens may be at
// work at once), and dropped. Once a change is made, a failing logout must not turn it into a
// failure (a new PIN that is on the token would go unrecorded).

// Writes the error being handled, with the token's serial, on the standard error stream.
void reportLogoutError(std::uint64_t serial) noexcept;

// Runs one logout; its failure is reported and dropped.
template <typename Logout>
void logoutReporting(std::uint64_t serial, Logout logout) noexcept
{
    try {
        logout();
    } catch (...) {
        reportLogoutError(serial);
    }
}

// Logs the flash library out when the scope is left by an exception.
inline auto logoutOnFailure(quorvik::qvflash::Token& token)
{
    return vt::scopeGuard(vt::ScopeFail{},
                          [&token] { logoutReporting(token.getSerial(), [&token] { token.logout(); }); });
}

// Logs the flash library out however the scope is left.
inline auto logoutOnExit(quorvik::qvflash::Token& token)
{
    return vt::scopeGuard(vt::ScopeExit{},
                          [&token] { logoutReporting(token.getSerial(), [&token] { token.logout(); }); });
}

// Ends the login of a session on the token of that serial after its change was made.
inline void logoutAfterChange(const quorvik::pkcs11::Session& session, std::uint64_t serial)
{
    logoutReporting(serial, [&session] { session.logout(); });
}
