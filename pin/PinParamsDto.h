#pragma once

#include "cli/Config.h"
#include "cli/OptionKey.h"
#include "pin/PinInputMode.h"
#include "pin/PinType.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pin_options {

// The PIN is the value of this option.
struct OptionsInputModeDto {
    OptionKey valueKey;
};

// The PIN is typed on the console, twice when confirm is set.
struct ConsoleInputModeDto {
    bool confirm;
};

// The PIN is generated with the settings of this option.
struct GenerateInputModeDto {
    OptionKey settingsKey;
};

// The PIN is a fixed one.
struct UseDefaultInputModeDto {
    std::string defaultPin;
};

using InputModeDto =
    std::variant<OptionsInputModeDto, ConsoleInputModeDto, GenerateInputModeDto, UseDefaultInputModeDto>;

// One PIN role of a command, declared once as a static record: the option choosing how
// the PIN is obtained, the configuration member that may supply that choice, whose PIN
// it is, and the allowed ways in the order the help lists them (a later record of a
// way replaces an earlier one).
struct PinParamsDto {
    OptionKey inputModeKey;
    std::optional<PinInputMode> Config::*configField;
    PinType pinType;
    std::vector<InputModeDto> modes;
};

} // namespace pin_options
