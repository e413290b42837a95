#pragma once

#include <functional>

class Token;
class TokenManager;

// How a command's per-token operation meets the chosen tokens. The applier answers whether
// the operation succeeded on its token; execute prints the outcome when asked and turns a
// failure into OperationFailedError.
class BaseStrategy {
public:
    virtual ~BaseStrategy() = default;
    virtual void execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                         bool printStatus) const = 0;
};
