#pragma once

#include "cli/BaseTypedCliOption.h"
#include "pin/PinInputOptionAttributes.h"
#include "pin/PinRelatedTextFactory.h"

namespace pin_options {

// The option choosing how a role's PIN is obtained; key, texts and configuration member
// come from the role's record, built once per option object.
template <PinInputOptionAttributes const* Attributes>
class PinInputModeCliOption : public BaseTypedCliOption<PinInputMode> {
public:
    PinInputModeCliOption()
        : optionKey(Attributes->params->inputModeKey)
        , text(PinRelatedTextFactory().buildInputModeDescription(*Attributes->params))
    {
    }

    OptionKey const& key() const override { return optionKey; }
    CliElementDescription const& description() const override { return text; }
    std::optional<PinInputMode> const& defaultValue() const override { return Attributes->defaultMode; }
    std::optional<std::string> const& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return false; }
    std::optional<PinInputMode> Config::*configField() const override { return Attributes->params->configField; }

private:
    OptionKey optionKey;
    CliElementDescription text;
};

} // namespace pin_options
