#pragma once

#include "qvtoken-core/TokenState.h"

#include <iosfwd>
#include <string>

namespace qvtoken {

// The state file's text form: JSON, one object per token. Byte strings are hex, labels and
// names UTF-8 text. Every field is required and range-checked: reading throws StateFormatError
// naming `origin` and the field on any missing or malformed content.
TokenState readTokenState(std::istream& in, const std::string& origin);
void writeTokenState(std::ostream& out, const TokenState& state);

} // namespace qvtoken
