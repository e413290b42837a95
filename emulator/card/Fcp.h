#pragma once

#include "Bytes.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// FCP templates (tag 62) the card answers to SELECT. Lengths are minimal BER and every tag is
// a single byte, the only forms a host parser of this card family reads.
Bytes dedicatedFileFcp(std::uint16_t fileId);

// Security attributes (tag 86) of the two kinds of login file, as the card creates them:
// for an MVA file, the admin alone may work on it; for a local PIN, secure type `type`
// (01 admin, 02 user, 04 the PIN itself, with `index` its own id) guards a change.
const Bytes& mvaSecurityAttributes();
Bytes localPinSecurityAttributes(std::uint8_t type, std::uint8_t index);

Bytes entryFcp(const qvtoken::DirectoryEntry& entry);

} // namespace qvcard
