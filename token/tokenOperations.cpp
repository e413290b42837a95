#include "token/tokenOperations.h"

#include "logging/TimeUtil.h"
#include "token/Token.h"
#include "token/printUnreadToken.h"

#include <exception>
#include <utility>

namespace token_operations {

std::function<bool(Token&)> createSimpleApplier(const std::function<void(Token&)>& operation)
{
    return [operation](Token& token) {
        try {
            operation(token);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
}

std::function<bool(Token&)>
createLoggingApplier(const std::function<void(std::shared_ptr<logging::BaseLogger>, Token&)>& operation,
                     std::shared_ptr<logging::BaseLogger> logger)
{
    return [operation, logger = std::move(logger)](Token& token) {
        TokenInfo info;
        try {
            info = token.getInfo();
        } catch (const std::exception& error) {
            printUnreadToken(token, error.what());
            return false;
        }
        logger->add(logging::OperationRecord{TimeUtil::getTimestamp(), info.model, info.serialNumber});
        bool success = true;
        try {
            operation(logger, token);
        } catch (const std::exception& error) {
            logger->addError(info.serialNumber, error.what());
            success = false;
        }
        logger->flush(info.serialNumber);
        return success;
    };
}

} // namespace token_operations
