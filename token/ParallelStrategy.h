#pragma once

#include "token/BaseStrategy.h"

// Every chosen token at once, each on a thread of its own; the outcomes are read in the
// manager's order.
class ParallelStrategy : public BaseStrategy {
public:
    void execute(std::function<bool(Token&)> const& applier, TokenManager const& tokenManager,
                 bool printStatus) const override;
};
