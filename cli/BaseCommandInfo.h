#pragma once

#include "cli/BaseCliOption.h"
#include "cli/CliElementDescription.h"
#include "cli/CommandCategory.h"

#include <string>
#include <vector>

class BaseCommandInfo {
public:
    virtual ~BaseCommandInfo() = default;
    virtual const std::string& commandName() const = 0;
    virtual CommandCategory commandCategory() const = 0;
    virtual const CliElementDescription& commandDescription() const = 0;
    // The command's option objects, in declaration order.
    virtual std::vector<const BaseCliOption*> options() const = 0;
};
