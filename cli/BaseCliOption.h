#pragma once

#include "cli/CliElementDescription.h"
#include "cli/OptionKey.h"

class BaseCliOption {
public:
    virtual ~BaseCliOption() = default;
    virtual OptionKey const& key() const = 0;
    virtual CliElementDescription const& description() const = 0;
};
