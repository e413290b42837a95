#pragma once

#include "cli/BaseTypedCliOption.h"
#include "pin/PinRelatedTextFactory.h"
#include "pin/PinValueOptionAttributes.h"
#include "pin/findModeRecordKey.h"

#include <string>

namespace pin_options {

// The option that gives a role's PIN; its key is that of the role's options way. It has
// no configuration member: a PIN never comes from the configuration file.
template <PinValueOptionAttributes const* Attributes>
class PinValueCliOption : public BaseTypedCliOption<std::string> {
public:
    PinValueCliOption()
        : optionKey(findModeRecordKey<OptionsInputModeDto>(
              *Attributes->params, [](OptionsInputModeDto const& record) { return record.valueKey; }))
        , text(PinRelatedTextFactory().buildValueDescription(*Attributes->params))
    {
    }

    OptionKey const& key() const override { return optionKey; }
    CliElementDescription const& description() const override { return text; }
    std::optional<std::string> const& defaultValue() const override { return Attributes->defaultPin; }
    std::optional<std::string> const& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return false; }
    std::optional<std::string> Config::*configField() const override { return nullptr; }

private:
    OptionKey optionKey;
    CliElementDescription text;
};

} // namespace pin_options
