#pragma once

#include "logging/BaseLogger.h"

#include <memory>
#include <string>
#include <vector>

namespace logging {

// Each factory builds its sink at once, so that a bad path fails before any token is touched,
// and hands it out ready for use from several threads.
std::shared_ptr<BaseLogger> createConsoleLogger(bool showPins);
std::shared_ptr<BaseLogger> createFileLogger(const std::string& path);
std::shared_ptr<BaseLogger> createMultiFileLogger();
std::shared_ptr<BaseLogger> createPinFileLogger();
std::shared_ptr<BaseLogger> createPinFileLogger(const std::string& path);
std::shared_ptr<BaseLogger> compose(const std::vector<std::shared_ptr<BaseLogger>>& loggers);

} // namespace logging
