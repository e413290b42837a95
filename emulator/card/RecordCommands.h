#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// APPEND RECORD, UPDATE RECORD and ERASE RECORD on the current EF, an MVA file. All need the
// admin right. Erasing marks records empty (status 03) so their slots are reused.
Response appendRecord(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token);
Response updateRecord(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token);
Response eraseRecord(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token);

} // namespace qvcard
