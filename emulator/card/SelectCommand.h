#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// SELECT by path from the MF (P1 08), first file (P1 00 P2 04, no data) and next file after a
// given id (P1 00 P2 06) of the current DF. Each answers the selected file's FCP.
Response select(const CommandApdu& apdu, CardSession& session, const qvtoken::TokenState& token);

} // namespace qvcard
