#pragma once

#include "token/BaseStrategy.h"

#include <functional>
#include <future>

// Every chosen token at once, each on a thread of its own; the outcomes are read in the
// manager's order.
class ParallelStrategy : public BaseStrategy {
public:
    // Starts a token's task on a thread of its own; throws when the system has no thread for it.
    using TaskLauncher = std::function<std::future<bool>(std::function<bool()>)>;

    ParallelStrategy();
    explicit ParallelStrategy(TaskLauncher launch);

    // A token whose task cannot start (the system refused a thread) is worked on by the calling
    // thread once every other task has started.
    void execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                 bool printStatus) const override;

private:
    TaskLauncher launch_;
};
