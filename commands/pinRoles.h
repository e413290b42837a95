#pragma once

#include "pin/PinParamsDto.h"

// The PIN roles that the token commands share, under the option keys every command gives them.
namespace pin_roles {

inline const std::string kAuthPinKey = "auth-pin";
inline const std::string kNewPinInputKey = config_keys::kNewPinInput;
inline const std::string kNewPinKey = "new-pin";
inline const std::string kGenSettingsKey = config_keys::kGenSettings;

// The PIN that authorises the command, typed once or given as an option.
pin_options::PinParamsDto authPinRole(PinBelonging belonging);
// A new PIN, typed twice, given as an option or generated per token.
pin_options::PinParamsDto newPinRole(PinBelonging belonging);

} // namespace pin_roles
