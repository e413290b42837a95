#include "logging/LoggerFactories.h"

#include "logging/CompositeProxyLogger.h"
#include "logging/ConsoleLogger.h"
#include "logging/FileLogger.h"
#include "logging/MultiFileLogger.h"
#include "logging/PinFileLogger.h"
#include "logging/ThreadsafeProxyLogger.h"

namespace logging {

std::shared_ptr<BaseLogger> createConsoleLogger(bool showPins)
{
    return std::make_shared<ThreadsafeProxyLogger>(std::make_shared<ConsoleLogger>(showPins));
}

std::shared_ptr<BaseLogger> createFileLogger(const std::string& path)
{
    return std::make_shared<ThreadsafeProxyLogger>(std::make_shared<FileLogger>(path));
}

// The multi-file logger guards its own map of per-token loggers, each behind its own proxy.
std::shared_ptr<BaseLogger> createMultiFileLogger()
{
    return std::make_shared<MultiFileLogger>();
}

std::shared_ptr<BaseLogger> createPinFileLogger()
{
    return std::make_shared<ThreadsafeProxyLogger>(std::make_shared<PinFileLogger>());
}

std::shared_ptr<BaseLogger> createPinFileLogger(const std::string& path)
{
    return std::make_shared<ThreadsafeProxyLogger>(std::make_shared<PinFileLogger>(path));
}

std::shared_ptr<BaseLogger> compose(const std::vector<std::shared_ptr<BaseLogger>>& loggers)
{
    return std::make_shared<CompositeProxyLogger>(loggers);
}

} // namespace logging
