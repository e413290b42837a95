#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// The flash-section family (INS 53): GET SECTIONS ATTRIBUTES, SPLIT INTO SECTIONS, CHANGE
// ACCESS RIGHTS, COUNT TOTAL FLASH MEMORY and RESET TOKEN, told apart by P1 and P2.
Response sectionCommand(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token);

} // namespace qvcard
