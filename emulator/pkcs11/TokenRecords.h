#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>

#include <cstddef>

namespace qvstandin {

// Writes `text` blank-padded into a fixed-size text field, cutting it at the field's size.
void padText(CK_UTF8CHAR* field, std::size_t size, const std::string& text);

void fillSlotInfo(const qvtoken::TokenState& token, bool present, CK_SLOT_INFO& info);
void fillTokenInfo(const qvtoken::TokenState& token, CK_ULONG sessions, CK_ULONG rwSessions, CK_TOKEN_INFO& info);
// The whole extended record; the caller copies as much of it as the caller's size word allows.
CK_TOKEN_INFO_EXTENDED tokenInfoExtended(const qvtoken::TokenState& token);

} // namespace qvstandin
