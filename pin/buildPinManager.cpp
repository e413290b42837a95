#include "pin/buildPinManager.h"

#include "pin/ConsoleInputMode.h"
#include "pin/GenerateInputMode.h"
#include "pin/OptionsInputMode.h"
#include "pin/UseDefaultInputMode.h"

#include <type_traits>
#include <variant>

PinManager buildPinManager(const pin_options::PinParamsDto& params)
{
    using namespace pin_options;
    PinManager manager(params.pinType, params.inputModeKey.name);
    for (const auto& dto : params.modes) {
        std::visit(
            [&manager](const auto& record) {
                using Record = std::decay_t<decltype(record)>;
                if constexpr (std::is_same_v<Record, OptionsInputModeDto>) {
                    manager.addInputMode<OptionsInputMode>(record.valueKey.name);
                } else if constexpr (std::is_same_v<Record, ConsoleInputModeDto>) {
                    manager.addInputMode<ConsoleInputMode>(record.confirm);
                } else if constexpr (std::is_same_v<Record, GenerateInputModeDto>) {
                    manager.addInputMode<GenerateInputMode>(record.settingsKey.name);
                } else {
                    manager.addInputMode<UseDefaultInputMode>(record.defaultPin);
                }
            },
            dto);
    }
    return manager;
}
