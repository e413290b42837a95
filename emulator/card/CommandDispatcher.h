#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

#include <cstdint>

namespace qvcard {

// Routes one command APDU (anything but GET RESPONSE) to its handler and turns a refusal into
// its status word. `serial` is the serial the card reports, normally the token's own.
Response dispatchCommand(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token,
                         std::uint64_t serial);

} // namespace qvcard
