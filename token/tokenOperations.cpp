#include "token/tokenOperations.h"

#include "cli/heldPinLines.h"
#include "logging/TimeUtil.h"
#include "token/Token.h"
#include "token/printLoggerFailure.h"
#include "token/printTokenError.h"

#include <exception>
#include <optional>
#include <utility>

namespace token_operations {

namespace {

// Runs one call into the logger; the first failure's text is kept in `failure`. The composite
// logger has handed the call to every sink before it lets the failure out.
template <typename Call>
void keepFailure(std::optional<std::string>& failure, const Call& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        if (!failure) {
            failure = error.what();
        }
    }
}

} // namespace

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
            printTokenError(token, error.what());
            return false;
        }
        const auto serial = info.serialNumber;
        std::optional<std::string> loggerFailure;
        keepFailure(loggerFailure, [&] {
            logger->add(logging::OperationRecord{TimeUtil::getTimestamp(), info.model, serial});
        });
        if (loggerFailure) {
            // The token's log cannot be kept, so the token is not touched: its failure is told by
            // the sinks that took the record, the console among them.
            const std::string failure = *loggerFailure;
            keepFailure(loggerFailure, [&] { logger->addError(serial, failure); });
            keepFailure(loggerFailure, [&] { logger->flush(serial); });
            return false;
        }
        bool success = true;
        try {
            operation(logger, token);
        } catch (const std::exception& error) {
            success = false;
            keepFailure(loggerFailure, [&] { logger->addError(serial, error.what()); });
        }
        keepFailure(loggerFailure, [&] { logger->flush(serial); });
        // The flush wrote the token's PINs out, to their files or else whole to a console stream.
        held_pin_lines::dropAll(serial);
        if (loggerFailure) {
            printLoggerFailure(serial, info.model, *loggerFailure);
            return false;
        }
        return success;
    };
}

} // namespace token_operations
