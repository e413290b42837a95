#include "token/wrapRestartingChange.h"

#include "cli/DomainError.h"
#include "flash/QvflashException.h"

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

namespace {

using quorvik::qvflash::StatusCondition;

// The library's text, with the last refusal a card gave while the restarted token was awaited:
// it may be another card's, so it is named as such and not as the token's own answer.
std::string reasonOf(const std::exception& error, const std::vector<StatusCondition>& conditions)
{
    std::string reason = error.what();
    for (const auto& condition : conditions) {
        const auto* refusal = std::get_if<std::string>(&condition.detail);
        if (condition.getCondCode() == QVFLASH_COND_LAST_REFUSAL && refusal != nullptr)
            reason += " (the last refusal a card gave meanwhile: " + *refusal + ")";
    }
    return reason;
}

} // namespace

void wrapRestartingChange(const std::function<void()>& run, const std::string& change)
{
    try {
        run();
    } catch (const quorvik::qvflash::QvflashException& error) {
        const auto conditions = error.getConditions();
        const bool made = std::any_of(conditions.begin(), conditions.end(), [](const auto& condition) {
            return condition.getCondCode() == QVFLASH_COND_CHANGE_MADE;
        });
        if (!made) {
            throw;
        }
        throw RestartAfterChangeError(reasonOf(error, conditions), change);
    }
}
