#pragma once

#include "Bytes.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// The ATR the token shows while plugged: the raw bytes when set, else built from the
// historical-bytes marker and the protocol. The T=1 form offers T=0 and T=1 (TD1 80, TD2 01,
// TCK), so pcscd picks T=1; the T=0 form has no interface bytes and no TCK.
Bytes buildAtr(const qvtoken::CardSettings& card);

} // namespace qvcard
