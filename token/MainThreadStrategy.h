#pragma once

#include "token/BaseStrategy.h"

// Exactly one token, on the calling thread; several chosen tokens are refused before any is
// touched.
class MainThreadStrategy : public BaseStrategy {
public:
    void execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                 bool printStatus) const override;
};
