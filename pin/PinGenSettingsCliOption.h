#pragma once

#include "cli/BaseTypedCliOption.h"
#include "pin/PinGenSettingsOptionAttributes.h"
#include "pin/PinRelatedTextFactory.h"
#include "pin/findModeRecordKey.h"

#include <vector>

namespace pin_options {

// The option holding a role's generation settings, one or more words after it; its key
// is that of the role's generate way.
template <PinGenSettingsOptionAttributes const* Attributes>
class PinGenSettingsCliOption : public BaseTypedCliOption<std::vector<PinGenSettingsElement>> {
public:
    using Settings = std::vector<PinGenSettingsElement>;

    PinGenSettingsCliOption()
        : optionKey(findModeRecordKey<GenerateInputModeDto>(
              *Attributes->params, [](GenerateInputModeDto const& record) { return record.settingsKey; }))
        , text(PinRelatedTextFactory().buildGenSettingDescription(*Attributes->params))
    {
    }

    OptionKey const& key() const override { return optionKey; }
    CliElementDescription const& description() const override { return text; }
    std::optional<Settings> const& defaultValue() const override { return Attributes->defaultSettings; }
    std::optional<std::string> const& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return true; }
    std::optional<Settings> Config::*configField() const override { return &Config::pinGenSettings; }

private:
    OptionKey optionKey;
    CliElementDescription text;
};

} // namespace pin_options
