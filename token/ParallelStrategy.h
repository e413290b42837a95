#pragma once

#include "token/BaseStrategy.h"

// Every chosen token at once, each on a thread of its own; the outcomes are read in the
// manager's order.
class ParallelStrategy : public BaseStrategy {
public:
    void execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                 bool printStatus) const override;
};
