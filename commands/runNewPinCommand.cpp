#include "commands/runNewPinCommand.h"

#include "commands/logCommandRecord.h"
#include "commands/makeSharedPin.h"
#include "commands/preparePinManagers.h"
#include "token/tokenOperations.h"

#include <utility>

void runNewPinCommand(const boost::program_options::variables_map& vm, logging::CommandRecord record,
                      const pin_options::PinParamsDto& authRole, const pin_options::PinParamsDto& newRole,
                      NewPinTargetBuilder targetBuilder, const BaseStrategy& strategy,
                      std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const auto managers = preparePinManagers(vm, {&authRole, &newRole});
    logCommandRecord(*logger, std::move(record), managers);
    const auto authPin = makeSharedPin(managers.front().getPin(0));
    auto operation = [newPin = managers.back(), authPin, targetBuilder = std::move(targetBuilder)](
                         std::shared_ptr<logging::BaseLogger> tokenLogger, Token& token) {
        auto target = targetBuilder(token, *authPin);
        ApplyPinVisitor visitor(std::move(target.params), std::move(target.apply), std::move(tokenLogger));
        newPin.accept(visitor);
    };
    strategy.execute(token_operations::createLoggingApplier(operation, logger), tokenManager, true);
}
