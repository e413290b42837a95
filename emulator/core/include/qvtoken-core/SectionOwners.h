#pragma once

#include "qvtoken-core/TokenState.h"

namespace qvtoken {

// Owner codes of the module's volume view of a section: the admin, the user, or from 3 on
// the local PIN of that id.
constexpr unsigned long ownerAdmin = 0;
constexpr unsigned long ownerUser = 1;
// What the module answers for a section no single owner code describes: two owners, an MVA,
// no owner, mixed conditions, a journal or another kind. The program reads it as "unknown
// volume owner"; it reads such drives only through the card.
constexpr unsigned long noSingleOwner = 2;

// A user-files section whose six operations are all protected by one owner (an owner code as
// above), the way the flash library writes a single-owner section.
Section userFilesSection(unsigned number, unsigned long sizeMb, unsigned access, unsigned long owner);

// The owner code of a section: its protect conditions read as the program reads them, then
// its single owner's code, or noSingleOwner. A local secret naming an MVA file counts as an
// MVA owner; any other id as a local PIN, also when that PIN is gone (as after a format).
unsigned long ownerCode(const TokenState& token, const Section& section);

} // namespace qvtoken
