#pragma once

#include "Bytes.h"

#include <qvtoken-core/TokenState.h>

namespace qvcard {

// FCP templates (tag 62) the card answers to SELECT. Lengths are minimal BER and every tag is
// a single byte, the only forms a host parser of this card family reads.
Bytes dedicatedFileFcp(std::uint16_t fileId);
Bytes entryFcp(const qvtoken::DirectoryEntry& entry);

} // namespace qvcard
