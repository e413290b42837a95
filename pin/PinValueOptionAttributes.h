#pragma once

#include "pin/PinParamsDto.h"

#include <optional>
#include <string>

namespace pin_options {

// The static record behind the PIN value option of one role.
struct PinValueOptionAttributes {
    const PinParamsDto* params;
    std::optional<std::string> defaultPin;
    std::optional<std::string> valueName;
};

} // namespace pin_options
