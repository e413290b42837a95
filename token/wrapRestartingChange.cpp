#include "token/wrapRestartingChange.h"

#include "cli/DomainError.h"
#include "flash/QvflashException.h"

#include <algorithm>

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
        throw RestartAfterChangeError(error.what(), change);
    }
}
