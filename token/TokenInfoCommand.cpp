#include "token/TokenInfoCommand.h"

#include "cli/CommandInfo.h"
#include "cli/DescriptionLayout.h"
#include "cli/ParseUtils.h"
#include "token/BaseStrategy.h"
#include "token/Token.h"
#include "token/TokenManager.h"
#include "token/generalOptionBuilders.h"
#include "token/tokenOperations.h"
#include "token/tokenTextForms.h"

#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>

namespace token_info_options {
const CommandInfo<> tokenInfoCommandInfo("info", CommandCategory::Info,
                                         {"Get token info.", "Получить информацию о токене."});
} // namespace token_info_options

namespace {

// Parallel tasks print their blocks whole, one after another.
std::mutex printMutex;

// A section whose data is absent prints nothing; one that cannot be read is named instead.
template <typename Read>
void printSection(std::ostream& out, const char* title, Read read)
{
    try {
        const auto data = read();
        if (data) {
            out << title << ":" << std::endl << std::endl << *data << std::endl;
        }
    } catch (const std::exception&) {
        out << "Couldn't retrieve info: " << title << "." << std::endl << std::endl;
    }
}

void printTokenInfo(Token& token)
{
    std::ostringstream block;
    printSection(block, "General info", [&token] { return std::optional<TokenInfo>(token.getInfo()); });
    printSection(block, "Pin policy", [&token] { return token.getUserPinPolicy(); });
    printSection(block, "Drive info", [&token] { return token.getDriveInfo(); });
    printSection(block, "Touch settings", [&token] { return token.getTouchSettings(); });
    const std::lock_guard<std::mutex> lock(printMutex);
    std::cout << block.str() << std::flush;
}

} // namespace

TokenInfoCommand::TokenInfoCommand(TokenManager& tokenManager) : tokenManager(&tokenManager) {}

void TokenInfoCommand::setConfig(const Config& newConfig)
{
    config = newConfig;
}

void TokenInfoCommand::setVarMap(boost::program_options::variables_map* vm)
{
    varMap = vm;
}

boost::program_options::options_description TokenInfoCommand::getOptionsDescription() const
{
    boost::program_options::options_description description(options::kLineLength, options::kMinDescriptionLength);
    description.add(parse_utils::getStrategyOptions(config));
    description.add(parse_utils::getFilterOptions(config));
    description.add(parse_utils::getHelpOptions(config));
    return description;
}

const BaseCommandInfo& TokenInfoCommand::getCommandInfo() const
{
    return token_info_options::tokenInfoCommandInfo;
}

void TokenInfoCommand::printHelp() const
{
    std::cout << token_info_options::tokenInfoCommandInfo.commandDescription().english << std::endl;
}

void TokenInfoCommand::run()
{
    if (parse_utils::parseHelpOption(varMap)) {
        printHelp();
        return;
    }
    tokenManager->setFilter(parse_utils::parseFilter(varMap));
    const auto strategy = parse_utils::parseStrategy(varMap);
    strategy->execute(token_operations::createSimpleApplier(printTokenInfo), *tokenManager, false);
}
