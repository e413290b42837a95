#pragma once

#include "cli/CliElementDescription.h"
#include "cli/Config.h"
#include "cli/OptionKey.h"

#include <optional>
#include <string>

// The static record of an option that takes a value of type T.
template <typename T>
struct TypedOptionAttributes {
    using ValueType = T;

    OptionKey key;
    CliElementDescription description;
    std::optional<T> defaultValue;
    std::optional<std::string> valueName;
    bool isRequired;
    bool isMultitoken;
    // The configuration member that, when set, replaces defaultValue; null when none.
    std::optional<T> Config::*configField;
};
