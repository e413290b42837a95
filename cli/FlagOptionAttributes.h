#pragma once

#include "cli/CliElementDescription.h"
#include "cli/OptionKey.h"

// The static record of a switch, an option without value.
struct FlagOptionAttributes {
    OptionKey key;
    CliElementDescription description;
};
