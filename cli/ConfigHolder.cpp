#include "cli/ConfigHolder.h"

void ConfigHolder::addConfig(const Config& config)
{
    general = config;
}

void ConfigHolder::addConfig(const std::string& command, const Config& config)
{
    byCommand[command] = config;
}

const Config& ConfigHolder::getConfig() const
{
    return general;
}

const Config& ConfigHolder::getConfig(const std::string& command) const
{
    const auto it = byCommand.find(command);
    return it == byCommand.end() ? general : it->second;
}
