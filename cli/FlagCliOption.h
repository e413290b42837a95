#pragma once

#include "cli/BaseFlagCliOption.h"
#include "cli/FlagOptionAttributes.h"

// Presents one static FlagOptionAttributes record, given by its address.
template <const FlagOptionAttributes* Attributes>
class FlagCliOption : public BaseFlagCliOption {
public:
    const OptionKey& key() const override { return Attributes->key; }

    const CliElementDescription& description() const override { return Attributes->description; }
};
