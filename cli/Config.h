#pragma once

#include "cli/ConfigKeys.h"
#include "pin/PinGenSettingsElement.h"
#include "pin/PinInputMode.h"

#include <optional>
#include <string>
#include <vector>

// Settings of the configuration file; an absent member is not configured.
struct Config {
    std::optional<PinInputMode> authPinInputMode;
    std::optional<PinInputMode> newPinInputMode;
    std::optional<std::vector<PinGenSettingsElement>> pinGenSettings;
    std::optional<std::string> logFile;
    std::optional<unsigned long> minPinLength;
    std::optional<unsigned long> maxPinRetryCount;
    std::optional<std::string> pinFile;
};
