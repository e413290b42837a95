#include "token/applyUnlessInterrupted.h"

#include "cli/runSignals.h"
#include "token/printTokenError.h"

bool applyUnlessInterrupted(const std::function<bool(Token&)>& applier, Token& token)
{
    if (run_signals::interruptingSignal() != 0) {
        printTokenError(token, "Not done: the run was interrupted.");
        return false;
    }
    return applier(token);
}
