#pragma once

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

// The configuration file's keys.
inline const std::string authPinInputName = "auth-pin-input";
inline const std::string newPinInputName = "new-pin-input";
inline const std::string genSettings = "gen-settings";
inline const std::string logFileName = "log-file";
inline const std::string minPinLengthName = "min-pin-length";
inline const std::string maxPinRetryCountName = "max-pin-retry-count";
inline const std::string pinFileName = "pin-file";
