#pragma once

#include "token/BriefTokenInfo.h"
#include "token/TokenDriveInfo.h"
#include "token/TokenInfo.h"
#include "token/TouchSettings.h"
#include "token/types/PinPolicy.h"

#include <iosfwd>
#include <vector>

// The records as list-tokens and info print them: one "label : value" line per field, the
// labels left-justified in one column.
std::ostream& operator<<(std::ostream& out, const TokenInfo& info);
std::ostream& operator<<(std::ostream& out, const TokenDriveInfo& info);
std::ostream& operator<<(std::ostream& out, const PinPolicy& policy);
std::ostream& operator<<(std::ostream& out, const TouchSettings& settings);
// One line per token, model then serial; the models padded to the widest in characters, so a
// Cyrillic model name lines up with Latin ones.
std::ostream& operator<<(std::ostream& out, const std::vector<BriefTokenInfo>& tokens);
