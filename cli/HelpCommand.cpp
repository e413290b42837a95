#include "cli/HelpCommand.h"

#include "cli/DescriptionLayout.h"
#include "cli/ParseUtils.h"

#include <iostream>

HelpCommand::HelpCommand(const CommandsDescription& commands) : commands(commands) {}

void HelpCommand::setConfig(const Config& newConfig)
{
    config = newConfig;
}

void HelpCommand::run()
{
    boost::program_options::options_description description(options::kLineLength, options::kMinDescriptionLength);
    description.add(parse_utils::getStrategyOptions(config))
        .add(parse_utils::getFilterOptions(config))
        .add(parse_utils::getLoggerOptions(config))
        .add(parse_utils::getPinOptions(config))
        .add(parse_utils::getHelpOptions(config));
    std::cout << description << std::endl;
    std::cout << commands.serialize(description.get_option_column_width());
}
