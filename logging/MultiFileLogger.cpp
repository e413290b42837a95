#include "logging/MultiFileLogger.h"

#include "logging/LogFilePath.h"
#include "logging/LoggerFactories.h"

#include <filesystem>

namespace logging {

namespace {

std::string concatPath(const std::string& first, const std::string& second)
{
    return (std::filesystem::path(first) / second).string();
}

} // namespace

MultiFileLogger::MultiFileLogger() : MultiFileLogger(programDirectory()) {}

MultiFileLogger::MultiFileLogger(const std::string& baseDirectory)
    : directory_(concatPath(baseDirectory, "qvadmin-logs"))
{
}

void MultiFileLogger::add(const CommandRecord& record)
{
    commandRecord_ = record;
}

void MultiFileLogger::add(const OperationRecord& record)
{
    getLogger(record.serialNumber)->add(record);
}

void MultiFileLogger::add(std::uint64_t serial, const PinRecord& record)
{
    getLogger(serial)->add(serial, record);
}

void MultiFileLogger::add(std::uint64_t serial, const MvaIdRecord& record)
{
    getLogger(serial)->add(serial, record);
}

void MultiFileLogger::add(std::uint64_t serial, const LocalPinIdRecord& record)
{
    getLogger(serial)->add(serial, record);
}

void MultiFileLogger::addError(std::uint64_t serial, const std::string& error)
{
    getLogger(serial)->addError(serial, error);
}

void MultiFileLogger::flush(std::uint64_t serial)
{
    getLogger(serial)->flush(serial);
}

int MultiFileLogger::getError()
{
    for (const auto& [serial, logger] : loggers_) {
        if (const int code = logger->getError())
            return code;
    }
    return NoWriteError;
}

std::shared_ptr<BaseLogger> MultiFileLogger::getLogger(std::uint64_t serial)
{
    std::lock_guard lock(mutex_);
    if (const auto found = loggers_.find(serial); found != loggers_.end())
        return found->second;
    // Stored only once it is made: a token whose file cannot be created leaves no entry.
    auto logger = createFileLogger(concatPath(directory_, "qvadmin_" + std::to_string(serial) + ".log"));
    logger->add(commandRecord_);
    loggers_.emplace(serial, logger);
    return logger;
}

} // namespace logging
