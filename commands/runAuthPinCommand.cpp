#include "commands/runAuthPinCommand.h"

#include "commands/logCommandRecord.h"
#include "commands/makeSharedPin.h"
#include "commands/preparePinManagers.h"
#include "token/tokenOperations.h"

#include <utility>

void runAuthPinCommand(const boost::program_options::variables_map& vm, logging::CommandRecord record,
                       const pin_options::PinParamsDto& authRole, AuthPinOperation operation,
                       const BaseStrategy& strategy, std::shared_ptr<logging::BaseLogger> logger,
                       const TokenManager& tokenManager)
{
    const auto managers = preparePinManagers(vm, {&authRole});
    logCommandRecord(*logger, std::move(record), managers);
    const auto authPin = makeSharedPin(managers.front().getPin(0));
    auto tokenOperation = [authPin, operation = std::move(operation)](std::shared_ptr<logging::BaseLogger>,
                                                                      Token& token) { operation(token, *authPin); };
    strategy.execute(token_operations::createLoggingApplier(tokenOperation, logger), tokenManager, true);
}
