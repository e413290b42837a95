#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// CHANGE REFERENCE DATA with new data only (P1 01) on the current EF, a local-PIN file.
// Data: 80 02 nH nL, A6 n, then the n PIN bytes; every length is a raw byte, not BER.
Response changeReferenceData(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token);

} // namespace qvcard
