#include "logging/HoldingLogger.h"

namespace logging {

void HoldingLogger::add(const CommandRecord& record)
{
    holder_.add(record);
}

void HoldingLogger::add(const OperationRecord& record)
{
    holder_.add(record);
}

void HoldingLogger::add(std::uint64_t serial, const PinRecord& record)
{
    holder_.add(serial, record);
}

void HoldingLogger::add(std::uint64_t serial, const MvaIdRecord& record)
{
    holder_.add(serial, record);
}

void HoldingLogger::add(std::uint64_t serial, const LocalPinIdRecord& record)
{
    holder_.add(serial, record);
}

void HoldingLogger::addError(std::uint64_t serial, const std::string& error)
{
    holder_.addError(serial, error);
}

} // namespace logging
