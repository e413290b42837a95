#pragma once

#include "cli/BaseCliOption.h"

#include <string>
#include <vector>

// A titled group of general options.
class BaseGeneralOptionsInfo {
public:
    virtual ~BaseGeneralOptionsInfo() = default;
    virtual const std::string& categoryName() const = 0;
    virtual std::vector<const BaseCliOption*> options() const = 0;
};
