#pragma once

#include "cli/ConfigKeys.h"

#include <optional>
#include <string>

// An option's long name (without dashes) and its optional one-letter alias.
struct OptionKey {
    std::string name;
    std::optional<char> shortName;
};

namespace options {
// Every command names the input-mode option of its authorisation PIN so.
inline const std::string kAuthPinInputKey = config_keys::kAuthPinInput;
} // namespace options
