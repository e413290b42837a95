#pragma once

#include "qvtoken-core/TokenState.h"

#include <iosfwd>
#include <string>

namespace qvtoken {

// The state file's text form: JSON, one object per token. Byte strings are hex, labels and
// names UTF-8 text. Reading throws StateFormatError naming `origin` on any malformed content;
// fields left out take the defaults of TokenState.
TokenState readTokenState(std::istream& in, const std::string& origin);
void writeTokenState(std::ostream& out, const TokenState& state);

}  // namespace qvtoken
