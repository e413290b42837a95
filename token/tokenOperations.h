#pragma once

#include "logging/BaseLogger.h"

#include <functional>
#include <memory>

class Token;

// Appliers: a per-token operation wrapped into the callable a strategy runs on each token,
// answering whether the operation succeeded. Each owns copies of what it uses, so copies may
// run on several threads at once.
namespace token_operations {

// True when the operation returns; an error derived from std::exception is dropped and
// counts as failure.
std::function<bool(Token&)> createSimpleApplier(const std::function<void(Token&)>& operation);

// Records the token's outcome with the logger: its operation record, the operation's own
// records, its error when it failed, then the flush. A token whose information cannot be read
// fails without any record: there is no serial to file it under; only the console names it.
// A logger that fails at the token's operation record leaves the token untouched and failed,
// with the logger's text as its error; one that fails afterwards fails the token too, named on
// a console line of its own with the logger's text. Either way the other tokens go on.
std::function<bool(Token&)>
createLoggingApplier(const std::function<void(std::shared_ptr<logging::BaseLogger>, Token&)>& operation,
                     std::shared_ptr<logging::BaseLogger> logger);

} // namespace token_operations
