#pragma once

#include "flash/Token.h"
#include "pkcs11/ScopeGuard.h"
#include "pkcs11/Session.h"

// Logins are ended by guards, so that a failed logout never fails the operation it follows: a
// guard reports the error on the standard error stream and drops it. Once a change is made, a
// failing logout must not turn it into a failure (a new PIN that is on the token would go
// unrecorded).

// Logs the flash library out when the scope is left by an exception.
inline auto logoutOnFailure(quorvik::qvflash::Token& token)
{
    return vt::scopeGuard(vt::ScopeFail{}, [&token] { token.logout(); });
}

// Logs the flash library out however the scope is left.
inline auto logoutOnExit(quorvik::qvflash::Token& token)
{
    return vt::scopeGuard(vt::ScopeExit{}, [&token] { token.logout(); });
}

// Ends the session's login after its change was made.
inline void logoutAfterChange(const quorvik::pkcs11::Session& session)
{
    const auto logout = vt::scopeGuard(vt::ScopeExit{}, [&session] { session.logout(); });
}
