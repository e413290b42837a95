#include "token/unblockFlashPins.h"

#include "cli/DomainError.h"
#include "token/types/LocalUserId.h"
#include "token/types/MvaId.h"

#include <exception>
#include <string>

namespace {

std::string restoredCounters(const quorvik::qvflash::UnblockedPins& restored)
{
    std::string names = "user";
    for (const auto id : restored.mvas) {
        names += ", " + toString(MvaId(id));
    }
    for (const auto id : restored.localPins) {
        names += ", " + toString(LocalUserId(id));
    }
    return names;
}

} // namespace

void unblockFlashPins(quorvik::qvflash::Token& flash)
{
    quorvik::qvflash::UnblockedPins restored;
    try {
        flash.unblockPins(restored);
    } catch (const std::exception& error) {
        if (!restored.user) {
            throw;
        }
        throw PartlyUnblockedError(error.what(), restoredCounters(restored));
    }
}
