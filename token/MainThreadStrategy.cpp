#include "token/MainThreadStrategy.h"

#include "cli/DomainError.h"
#include "cli/runSignals.h"
#include "token/TokenManager.h"
#include "token/applyUnlessInterrupted.h"
#include "token/concludeRun.h"

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
    run_signals::catchDuringRun();
    // The token may have been changed before the applier let an exception out: the status line
    // still ends the run.
    bool success = false;
    std::exception_ptr thrown;
    try {
        success = applyUnlessInterrupted(applier, tokens.front());
    } catch (...) {
        thrown = std::current_exception();
    }
    concludeRun(success, thrown, printStatus);
}
