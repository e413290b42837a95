#pragma once

#include "cli/Config.h"

#include <map>
#include <string>

// The general configuration and, per command, the general one overridden by the
// command's own section.
class ConfigHolder {
public:
    void addConfig(Config const& config);
    void addConfig(std::string const& command, Config const& config);

    Config const& getConfig() const;
    // Falls back to the general configuration for a command without an entry.
    Config const& getConfig(std::string const& command) const;

private:
    Config general;
    std::map<std::string, Config> byCommand;
};
