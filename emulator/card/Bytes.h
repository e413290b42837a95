#pragma once

#include <qvtoken-core/Bytes.h>

namespace qvcard {

using Bytes = qvtoken::Bytes;
// Accepts blanks between bytes; throws qvtoken::BadHexError on anything else.
using qvtoken::fromHex;
using qvtoken::toSpacedHex;

} // namespace qvcard
