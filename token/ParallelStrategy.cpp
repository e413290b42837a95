#include "token/ParallelStrategy.h"

#include "cli/DomainError.h"
#include "cli/runSignals.h"
#include "token/TokenManager.h"
#include "token/applyUnlessInterrupted.h"
#include "token/concludeRun.h"

#include <utility>
#include <vector>

namespace {

// Reads one token's outcome into the run's: a task that threw counts as failed, and the first
// exception is kept for the end of the run.
template <typename Run>
void collect(const Run& run, bool& success, std::exception_ptr& thrown)
{
    try {
        success = run() && success;
    } catch (...) {
        success = false;
        if (!thrown) {
            thrown = std::current_exception();
        }
    }
}

} // namespace

ParallelStrategy::ParallelStrategy()
    : ParallelStrategy([](std::function<bool()> task) { return std::async(std::launch::async, std::move(task)); })
{
}

ParallelStrategy::ParallelStrategy(TaskLauncher launch) : launch_(std::move(launch)) {}

void ParallelStrategy::execute(const std::function<bool(Token&)>& applier, const TokenManager& tokenManager,
                               bool printStatus) const
{
    auto tokens = tokenManager.getTokens();
    if (tokens.empty()) {
        throw NoTokenError();
    }
    run_signals::catchDuringRun();
    // Every task is started before any is waited for, so the slowest token sets the run's
    // length; each task calls its own copy of the applier on a token no other task sees.
    std::vector<std::future<bool>> results;
    std::vector<Token*> unstarted;
    results.reserve(tokens.size());
    for (auto& token : tokens) {
        try {
            results.push_back(launch_([applier, &token] { return applyUnlessInterrupted(applier, token); }));
        } catch (const std::exception&) {
            // A limit on threads or memory leaves the token to this thread rather than unnamed.
            unstarted.push_back(&token);
        }
    }
    // Every token is worked on and every task read, whatever another one answered or threw:
    // each token has had its say before the run ends.
    bool success = true;
    std::exception_ptr thrown;
    for (Token* token : unstarted) {
        collect([&] { return applyUnlessInterrupted(applier, *token); }, success, thrown);
    }
    for (auto& result : results) {
        collect([&] { return result.get(); }, success, thrown);
    }
    concludeRun(success, thrown, printStatus);
}
