#pragma once

#include <functional>

class Token;
class TokenManager;

// How a command's per-token operation meets the chosen tokens. The applier answers whether
// the operation succeeded on its token; execute waits for every token's applier, prints the
// outcome when asked, then passes on an exception an applier let out or turns a failure into
// OperationFailedError.
class BaseStrategy {
public:
    virtual ~BaseStrategy() = default;
    virtual void execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                         bool printStatus) const = 0;
};
