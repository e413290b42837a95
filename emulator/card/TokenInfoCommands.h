#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// Read-only facts about the token: GET DATA serial, GET EXTENDED TOKEN INFO and COUNT TOTAL
// FLASH MEMORY. None of them needs a right.
Response getSerial(const CommandApdu& apdu, std::uint64_t serial);
Response getExtendedInfo(const CommandApdu& apdu, const qvtoken::TokenState& token);
Response countTotalFlash(const CommandApdu& apdu, const qvtoken::TokenState& token);

} // namespace qvcard
