#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// CREATE FILE in the local-login directory from an FCP template: an MVA file (descriptor 14,
// admin only) or a local-PIN file (descriptor 10, admin or user). The template is checked
// field by field, because the host's encoding of it is what this command proves.
Response createFile(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token);

} // namespace qvcard
