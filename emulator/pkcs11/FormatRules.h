#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>

namespace qvstandin {

// Formats the token: the admin PIN is checked first (or, in repair mode, must be blocked),
// then every new value; nothing changes unless all are acceptable.
CK_RV initToken(qvtoken::TokenState& token, const CK_UTF8CHAR* adminPin, CK_ULONG adminPinLength,
                const CK_QUORVIK_INIT_PARAM& params);

} // namespace qvstandin
