#pragma once

#include "cli/Config.h"

#include <map>
#include <string>

// The general configuration and, per command, the general one overridden by the
// command's own section.
class ConfigHolder {
public:
    void addConfig(const Config& config);
    void addConfig(const std::string& command, const Config& config);

    const Config& getConfig() const;
    // Falls back to the general configuration for a command without an entry.
    const Config& getConfig(const std::string& command) const;

private:
    Config general;
    std::map<std::string, Config> byCommand;
};
