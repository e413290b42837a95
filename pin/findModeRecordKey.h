#pragma once

#include "cli/OptionKey.h"
#include "pin/PinParamsDto.h"

#include <variant>

namespace pin_options {

// The option key of the role's last record of kind Record (empty when it has none).
template <typename Record, typename KeyOf>
OptionKey findModeRecordKey(const PinParamsDto& params, KeyOf keyOf)
{
    OptionKey key{"", std::nullopt};
    for (const auto& dto : params.modes) {
        if (const auto* record = std::get_if<Record>(&dto)) {
            key = keyOf(*record);
        }
    }
    return key;
}

} // namespace pin_options
