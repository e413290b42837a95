#pragma once

#include "cli/BaseFlagCliOption.h"
#include "cli/FlagOptionAttributes.h"

// Presents one static FlagOptionAttributes record, given by its address.
template <FlagOptionAttributes const* Attributes>
class FlagCliOption : public BaseFlagCliOption {
public:
    OptionKey const& key() const override
    {
        return Attributes->key;
    }

    CliElementDescription const& description() const override
    {
        return Attributes->description;
    }
};
