#include "token/ParallelStrategy.h"

#include "cli/DomainError.h"
#include "token/TokenManager.h"
#include "token/concludeRun.h"

#include <future>
#include <vector>

void ParallelStrategy::execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                               bool printStatus) const
{
    auto tokens = tokenManager.getTokens();
    if (tokens.empty()) {
        throw NoTokenError();
    }
    // Every task is started before any is waited for, so the slowest token sets the run's
    // length; each task calls its own copy of the applier on a token no other task sees.
    std::vector<std::future<bool>> results;
    results.reserve(tokens.size());
    for (auto& token : tokens) {
        results.push_back(std::async(std::launch::async, applier, std::ref(token)));
    }
    // Every task is read, whatever another one answered or threw: each token has had its say
    // before the run ends, and a task that threw counts as failed.
    bool success = true;
    std::exception_ptr thrown;
    for (auto& result : results) {
        try {
            success = result.get() && success;
        } catch (...) {
            success = false;
            if (!thrown) {
                thrown = std::current_exception();
            }
        }
    }
    concludeRun(success, thrown, printStatus);
}
