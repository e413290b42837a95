#include "token/ParallelStrategy.h"

#include "cli/DomainError.h"
#include "token/TokenManager.h"
#include "token/printOperationStatus.h"

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
    for (const auto& result : results) {
        result.wait();
    }
    // The first failed token decides; what later tasks threw is dropped with their futures.
    bool success = true;
    for (auto& result : results) {
        success = result.get();
        if (!success) {
            break;
        }
    }
    if (printStatus) {
        printOperationStatus(success);
    }
    if (!success) {
        throw OperationFailedError();
    }
}
