#pragma once

#include "cli/BaseTypedCliOption.h"
#include "pin/PinRelatedTextFactory.h"
#include "pin/PinValueOptionAttributes.h"
#include "pin/findModeRecordKey.h"

#include <string>

namespace pin_options {

// The option that gives a role's PIN; its key is that of the role's options way. It has
// no configuration member: a PIN never comes from the configuration file.
template <const PinValueOptionAttributes* Attributes>
class PinValueCliOption : public BaseTypedCliOption<std::string> {
public:
    PinValueCliOption()
        : optionKey_(findModeRecordKey<OptionsInputModeDto>(
              *Attributes->params, [](const OptionsInputModeDto& record) { return record.valueKey; })),
          text_(PinRelatedTextFactory().buildValueDescription(*Attributes->params))
    {
    }

    const OptionKey& key() const override { return optionKey_; }
    const CliElementDescription& description() const override { return text_; }
    const std::optional<std::string>& defaultValue() const override { return Attributes->defaultPin; }
    const std::optional<std::string>& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return false; }
    std::optional<std::string> Config::*configField() const override { return nullptr; }

private:
    OptionKey optionKey_;
    CliElementDescription text_;
};

} // namespace pin_options
