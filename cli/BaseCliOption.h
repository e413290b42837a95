#pragma once

#include "cli/CliElementDescription.h"
#include "cli/OptionKey.h"

class BaseCliOption {
public:
    virtual ~BaseCliOption() = default;
    virtual const OptionKey& key() const = 0;
    virtual const CliElementDescription& description() const = 0;
};
