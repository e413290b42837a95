#pragma once

#include "cli/BaseTypedCliOption.h"
#include "pin/PinGenSettingsOptionAttributes.h"
#include "pin/PinRelatedTextFactory.h"
#include "pin/findModeRecordKey.h"

#include <vector>

namespace pin_options {

// The option holding a role's generation settings, one or more words after it; its key
// is that of the role's generate way.
template <const PinGenSettingsOptionAttributes* Attributes>
class PinGenSettingsCliOption : public BaseTypedCliOption<std::vector<PinGenSettingsElement>> {
public:
    using Settings = std::vector<PinGenSettingsElement>;

    PinGenSettingsCliOption()
        : optionKey_(findModeRecordKey<GenerateInputModeDto>(
              *Attributes->params, [](const GenerateInputModeDto& record) { return record.settingsKey; })),
          text_(PinRelatedTextFactory().buildGenSettingDescription(*Attributes->params))
    {
    }

    const OptionKey& key() const override { return optionKey_; }
    const CliElementDescription& description() const override { return text_; }
    const std::optional<Settings>& defaultValue() const override { return Attributes->defaultSettings; }
    const std::optional<std::string>& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return true; }
    std::optional<Settings> Config::*configField() const override { return &Config::pinGenSettings; }

private:
    OptionKey optionKey_;
    CliElementDescription text_;
};

} // namespace pin_options
