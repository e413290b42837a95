#include "cli/ConfigHolder.h"

void ConfigHolder::addConfig(Config const& config)
{
    general = config;
}

void ConfigHolder::addConfig(std::string const& command, Config const& config)
{
    byCommand[command] = config;
}

Config const& ConfigHolder::getConfig() const
{
    return general;
}

Config const& ConfigHolder::getConfig(std::string const& command) const
{
    const auto it = byCommand.find(command);
    return it == byCommand.end() ? general : it->second;
}
