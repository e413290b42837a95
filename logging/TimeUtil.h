#pragma once

#include <string>

class TimeUtil {
public:
    // The current local time as "%Y.%m.%d_%H.%M.%S", e.g. 2024.03.05_14.07.09.
    static std::string getTimestamp();
};
