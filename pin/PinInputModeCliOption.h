#pragma once

#include "cli/BaseTypedCliOption.h"
#include "pin/PinInputOptionAttributes.h"
#include "pin/PinRelatedTextFactory.h"

namespace pin_options {

// The option choosing how a role's PIN is obtained; key, texts and configuration member
// come from the role's record, built once per option object.
template <const PinInputOptionAttributes* Attributes>
class PinInputModeCliOption : public BaseTypedCliOption<PinInputMode> {
public:
    PinInputModeCliOption()
        : optionKey(Attributes->params->inputModeKey),
          text(PinRelatedTextFactory().buildInputModeDescription(*Attributes->params))
    {
    }

    const OptionKey& key() const override { return optionKey; }
    const CliElementDescription& description() const override { return text; }
    const std::optional<PinInputMode>& defaultValue() const override { return Attributes->defaultMode; }
    const std::optional<std::string>& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return false; }
    std::optional<PinInputMode> Config::*configField() const override { return Attributes->params->configField; }

private:
    OptionKey optionKey;
    CliElementDescription text;
};

} // namespace pin_options
