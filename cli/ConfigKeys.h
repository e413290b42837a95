#pragma once

#include <string>

// The configuration file's keys; the options of the same meaning share their spelling.
namespace config_keys {
inline const std::string kAuthPinInput = "auth-pin-input";
inline const std::string kNewPinInput = "new-pin-input";
inline const std::string kGenSettings = "gen-settings";
inline const std::string kLogFile = "log-file";
inline const std::string kMinPinLength = "min-pin-length";
inline const std::string kMaxPinRetryCount = "max-pin-retry-count";
inline const std::string kPinFile = "pin-file";
} // namespace config_keys
