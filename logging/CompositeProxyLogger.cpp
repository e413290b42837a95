#include "logging/CompositeProxyLogger.h"

#include <exception>
#include <utility>

namespace logging {

CompositeProxyLogger::CompositeProxyLogger(std::vector<std::shared_ptr<BaseLogger>> loggers)
    : loggers_(std::move(loggers))
{
}

// One sink's failure must not keep the others from their call: a log file that cannot be
// opened at a flush would otherwise keep a generated PIN out of the PIN file. The first
// exception leaves once every sink has had the call.
template <typename Call>
void CompositeProxyLogger::forEach(const Call& call)
{
    std::exception_ptr first;
    for (const auto& logger : loggers_) {
        try {
            call(*logger);
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first)
        std::rethrow_exception(first);
}

void CompositeProxyLogger::add(const CommandRecord& record)
{
    forEach([&](BaseLogger& logger) { logger.add(record); });
}

void CompositeProxyLogger::add(const OperationRecord& record)
{
    forEach([&](BaseLogger& logger) { logger.add(record); });
}

void CompositeProxyLogger::add(std::uint64_t serial, const PinRecord& record)
{
    forEach([&](BaseLogger& logger) { logger.add(serial, record); });
}

void CompositeProxyLogger::add(std::uint64_t serial, const MvaIdRecord& record)
{
    forEach([&](BaseLogger& logger) { logger.add(serial, record); });
}

void CompositeProxyLogger::add(std::uint64_t serial, const LocalPinIdRecord& record)
{
    forEach([&](BaseLogger& logger) { logger.add(serial, record); });
}

void CompositeProxyLogger::addError(std::uint64_t serial, const std::string& error)
{
    forEach([&](BaseLogger& logger) { logger.addError(serial, error); });
}

void CompositeProxyLogger::flush(std::uint64_t serial)
{
    forEach([&](BaseLogger& logger) { logger.flush(serial); });
}

int CompositeProxyLogger::getError()
{
    for (const auto& logger : loggers_) {
        if (const int code = logger->getError())
            return code;
    }
    return NoWriteError;
}

} // namespace logging
