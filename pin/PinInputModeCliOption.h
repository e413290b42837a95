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
        : optionKey_(Attributes->params->inputModeKey),
          text_(PinRelatedTextFactory().buildInputModeDescription(*Attributes->params))
    {
    }

    const OptionKey& key() const override { return optionKey_; }
    const CliElementDescription& description() const override { return text_; }
    const std::optional<PinInputMode>& defaultValue() const override { return Attributes->defaultMode; }
    const std::optional<std::string>& valueName() const override { return Attributes->valueName; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return false; }
    std::optional<PinInputMode> Config::*configField() const override { return Attributes->params->configField; }

private:
    OptionKey optionKey_;
    CliElementDescription text_;
};

} // namespace pin_options
