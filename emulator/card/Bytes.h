#pragma once

#include <qvtoken-core/Bytes.h>

#include <string>

namespace qvcard {

using Bytes = qvtoken::Bytes;
// Accepts blanks between bytes; throws qvtoken::BadHexError on anything else.
using qvtoken::fromHex;

// Hex text with one blank between bytes ("00 A4 08 04"), the form of the APDU log.
std::string toHex(const Bytes& bytes);

} // namespace qvcard
