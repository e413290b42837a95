#include "commands/pinRoles.h"

namespace pin_roles {

using namespace pin_options;

PinParamsDto authPinRole(PinBelonging belonging)
{
    return {{options::kAuthPinInputKey, 'P'},
            &Config::authPinInputMode,
            {belonging, PinRelevance::Authorization},
            {ConsoleInputModeDto{false}, OptionsInputModeDto{{kAuthPinKey, 'p'}}}};
}

PinParamsDto newPinRole(PinBelonging belonging)
{
    return {{kNewPinInputKey, 'N'},
            &Config::newPinInputMode,
            {belonging, PinRelevance::New},
            {ConsoleInputModeDto{true}, OptionsInputModeDto{{kNewPinKey, 'n'}},
             GenerateInputModeDto{{kGenSettingsKey, 'g'}}}};
}

} // namespace pin_roles
