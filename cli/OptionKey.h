#pragma once

#include <optional>
#include <string>

// An option's long name (without dashes) and its optional one-letter alias.
struct OptionKey {
    std::string name;
    std::optional<char> shortName;
};
