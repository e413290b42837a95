#pragma once

#include <string>
#include <vector>

namespace logging {

// What the run was asked to do: the command name, its options with the text of their values
// (see addOption) and the keys of the flags that were given.
struct CommandRecord {
    struct Option {
        std::string key;
        std::string value;
    };

    std::string name;
    std::vector<Option> options;
    std::vector<std::string> flags;
};

} // namespace logging
