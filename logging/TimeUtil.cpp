#include "logging/TimeUtil.h"

#include <chrono>
#include <ctime>

std::string TimeUtil::getTimestamp()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    // Every token's task takes a timestamp; the re-entrant conversion keeps them from sharing
    // one static buffer.
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    const auto length = std::strftime(text, sizeof text, "%Y.%m.%d_%H.%M.%S", &local);
    return std::string(text, length);
}
