#include "token/ListTokensCommand.h"

#include "cli/CommandInfo.h"
#include "cli/DescriptionLayout.h"
#include "cli/ParseUtils.h"
#include "token/TokenManager.h"
#include "token/generalOptionBuilders.h"
#include "token/tokenTextForms.h"

#include <iostream>

namespace list_tokens_options {
const CommandInfo<> listTokensInfo("list-tokens", CommandCategory::Info,
                                   {"Show list of found tokens.", "Показать список найденных токенов."});
} // namespace list_tokens_options

ListTokensCommand::ListTokensCommand(TokenManager& tokenManager) : tokenManager(&tokenManager) {}

void ListTokensCommand::setConfig(const Config& newConfig)
{
    config = newConfig;
}

void ListTokensCommand::setVarMap(boost::program_options::variables_map* vm)
{
    varMap = vm;
}

boost::program_options::options_description ListTokensCommand::getOptionsDescription() const
{
    boost::program_options::options_description description(options::kLineLength, options::kMinDescriptionLength);
    description.add(parse_utils::getFilterOptions(config));
    description.add(parse_utils::getHelpOptions(config));
    return description;
}

const BaseCommandInfo& ListTokensCommand::getCommandInfo() const
{
    return list_tokens_options::listTokensInfo;
}

void ListTokensCommand::printHelp() const
{
    std::cout << list_tokens_options::listTokensInfo.commandDescription().english << std::endl;
}

void ListTokensCommand::run()
{
    if (parse_utils::parseHelpOption(varMap)) {
        printHelp();
        return;
    }
    tokenManager->setFilter(parse_utils::parseFilter(varMap));
    std::cout << tokenManager->getAvailableTokensInfo();
}
