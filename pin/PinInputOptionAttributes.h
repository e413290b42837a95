#pragma once

#include "pin/PinInputMode.h"
#include "pin/PinParamsDto.h"

#include <optional>
#include <string>

namespace pin_options {

// The static record behind the input-mode option of one role.
struct PinInputOptionAttributes {
    const PinParamsDto* params;
    std::optional<PinInputMode> defaultMode;
    std::optional<std::string> valueName;
};

} // namespace pin_options
