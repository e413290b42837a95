#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// PUT DATA 01 7C: one security-event record, sent in chunks chained with CLA 10 and ended by
// CLA 00. First chunk 80 02 T1 T2 A5 n <n bytes>, later chunks A5 n <n bytes>; every length
// here is a raw byte. The reassembled stream holds C1..C4 (user, domain, OS, device) and C5
// (time, 8 bytes).
Response putJournalData(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token);

} // namespace qvcard
