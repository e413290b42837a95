#pragma once

#include "pin/PinGenSettingsElement.h"
#include "pin/PinParamsDto.h"

#include <optional>
#include <string>
#include <vector>

namespace pin_options {

// The static record behind the generation-settings option of one role.
struct PinGenSettingsOptionAttributes {
    const PinParamsDto* params;
    std::optional<std::vector<PinGenSettingsElement>> defaultSettings;
    std::optional<std::string> valueName;
};

} // namespace pin_options
