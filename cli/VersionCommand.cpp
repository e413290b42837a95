#include "cli/VersionCommand.h"

#include "cli/CommandInfo.h"
#include "cli/DescriptionLayout.h"
#include "cli/ParseUtils.h"

#include <iostream>

namespace version_options {
namespace {
const CommandInfo<> versionInfo("version", CommandCategory::Info,
                                {"Show application version.", "Получить информацию о версии утилиты."});
} // namespace
} // namespace version_options

void VersionCommand::setConfig(const Config& newConfig)
{
    config = newConfig;
}

void VersionCommand::run()
{
    if (parse_utils::parseHelpOption(varMap)) {
        printHelp();
        return;
    }
    std::cout << "qvadmin"
              << " version:\t" << QVADMIN_VERSION << std::endl;
}

void VersionCommand::setVarMap(boost::program_options::variables_map* variables)
{
    varMap = variables;
}

boost::program_options::options_description VersionCommand::getOptionsDescription() const
{
    boost::program_options::options_description description(options::kLineLength, options::kMinDescriptionLength);
    description.add(parse_utils::getHelpOptions(config));
    return description;
}

const BaseCommandInfo& VersionCommand::getCommandInfo() const
{
    return version_options::versionInfo;
}

void VersionCommand::printHelp() const
{
    std::cout << version_options::versionInfo.commandDescription().english << std::endl;
}
