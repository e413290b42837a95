#pragma once

#include "cli/BaseCliOption.h"

#include <string>
#include <vector>

// A titled group of general options.
class BaseGeneralOptionsInfo {
public:
    virtual ~BaseGeneralOptionsInfo() = default;
    virtual std::string const& categoryName() const = 0;
    virtual std::vector<BaseCliOption const*> options() const = 0;
};
