#include "token/MainThreadStrategy.h"

#include "cli/DomainError.h"
#include "token/TokenManager.h"
#include "token/printOperationStatus.h"

void MainThreadStrategy::execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                                 bool printStatus) const
{
    auto tokens = tokenManager.getTokens();
    if (tokens.empty()) {
        throw NoTokenError();
    }
    if (tokens.size() > 1) {
        throw TooManyTokensError();
    }
    const bool success = applier(tokens.front());
    if (printStatus) {
        printOperationStatus(success);
    }
    if (!success) {
        throw OperationFailedError();
    }
}
