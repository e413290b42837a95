#include "token/DispatchCommand.h"

#include "cli/DescriptionLayout.h"
#include "cli/DomainError.h"
#include "cli/LoggerError.h"
#include "cli/ParseUtils.h"
#include "cli/controlCharacters.h"
#include "logging/BaseLogger.h"
#include "token/TokenManager.h"
#include "token/generalOptionBuilders.h"

#include <iostream>
#include <utility>

namespace {

void throwOnWriteError(logging::BaseLogger& logger)
{
    switch (logger.getError()) {
    case logging::NoSpaceWriteError:
        throw NoSpaceError();
    case logging::OtherWriteError:
        throw LogWriteError();
    default:
        break;
    }
}

} // namespace

DispatchCommand::DispatchCommand(TokenManager* tokenManager, std::shared_ptr<BaseParamDispatcher> dispatcher)
    : tokenManager(tokenManager), dispatcher(std::move(dispatcher))
{
}

void DispatchCommand::setConfig(const Config& newConfig)
{
    config = newConfig;
}

void DispatchCommand::setVarMap(boost::program_options::variables_map* vm)
{
    varMap = vm;
}

boost::program_options::options_description DispatchCommand::getOptionsDescription() const
{
    boost::program_options::options_description description(options::kLineLength, options::kMinDescriptionLength);
    description.add(parse_utils::getStrategyOptions(config));
    description.add(parse_utils::getFilterOptions(config));
    description.add(parse_utils::getLoggerOptions(config));
    description.add(parse_utils::getPinOptions(config));
    description.add(parse_utils::getHelpOptions(config));
    description.add(dispatcher->getOptionsDescription(config));
    return description;
}

const BaseCommandInfo& DispatchCommand::getCommandInfo() const
{
    return dispatcher->getCommandInfo();
}

void DispatchCommand::printHelp() const
{
    std::cout << getCommandInfo().commandDescription().english << std::endl;
    std::cout << dispatcher->getOptionsDescription(config) << std::endl;
}

void DispatchCommand::run()
{
    if (parse_utils::parseHelpOption(varMap)) {
        printHelp();
        return;
    }
    tokenManager->setFilter(parse_utils::parseFilter(varMap));
    const auto strategy = parse_utils::parseStrategy(varMap);
    const auto logger = parse_utils::parseLogger(varMap);
    try {
        dispatcher->run(varMap, strategy, logger, *tokenManager);
    } catch (const OperationFailedError&) {
        // The status line told the failure, but not that the log or the PIN file lost what the
        // tokens that succeeded wrote: their generated PINs would be gone without a word.
        try {
            throwOnWriteError(*logger);
        } catch (const LoggerError& error) {
            std::cerr << "Logger error: " << escapeControlCharacters(error.what()) << std::endl;
        }
        throw;
    }
    throwOnWriteError(*logger);
}
