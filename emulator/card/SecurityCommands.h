#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// VERIFY (a secret, or the attempts query), RESET RETRY COUNTER and RESET ACCESS RIGHTS.
// References: 01 admin PIN, 02 user PIN, 80|id a local PIN or MVA file of the local-login
// directory, found there whatever the current DF.
Response verify(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token);
Response resetRetryCounter(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token);
Response resetAccessRights(const CommandApdu& apdu, CardSession& session);

} // namespace qvcard
