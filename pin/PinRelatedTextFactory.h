#pragma once

#include "cli/CliElementDescription.h"
#include "pin/Language.h"
#include "pin/PinParamsDto.h"
#include "pin/PinType.h"

#include <string>

namespace pin_options {

// Builds the name of a PIN role and the help texts of its three options, in English and
// Russian, from the role's record. The words sit in constant tables; a factory is made
// where texts are needed and dropped.
class PinRelatedTextFactory {
public:
    std::string buildPinName(Language language, const PinType& pinType) const;

    std::string buildInputModeDescription(Language language, const PinParamsDto& params) const;
    std::string buildValueDescription(Language language, const PinParamsDto& params) const;
    std::string buildGenSettingsDescription(Language language, const PinParamsDto& params) const;

    CliElementDescription buildInputModeDescription(const PinParamsDto& params) const;
    CliElementDescription buildValueDescription(const PinParamsDto& params) const;
    CliElementDescription buildGenSettingDescription(const PinParamsDto& params) const;
};

} // namespace pin_options
