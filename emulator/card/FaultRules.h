#pragma once

#include "Bytes.h"

#include <qvtoken-core/TokenState.h>

#include <optional>

namespace qvcard {

// Finds the fault rule that fires on this message (an APDU, or a one-byte vpcd control
// message) and counts it: every matching rule counts the match, the first one whose turn it
// is fires and uses up one firing. Exhausted rules leave the token's state. Rules waiting for
// the next replug take no part.
std::optional<qvtoken::CardFault> takeFault(qvtoken::TokenState& token, const Bytes& message);

} // namespace qvcard
