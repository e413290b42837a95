#include "logging/HoldingLogger.h"

namespace logging {

void HoldingLogger::add(const CommandRecord& record)
{
    holder.add(record);
}

void HoldingLogger::add(const OperationRecord& record)
{
    holder.add(record);
}

void HoldingLogger::add(std::uint64_t serial, const PinRecord& record)
{
    holder.add(serial, record);
}

void HoldingLogger::add(std::uint64_t serial, const MvaIdRecord& record)
{
    holder.add(serial, record);
}

void HoldingLogger::add(std::uint64_t serial, const LocalPinIdRecord& record)
{
    holder.add(serial, record);
}

void HoldingLogger::addError(std::uint64_t serial, const std::string& error)
{
    holder.addError(serial, error);
}

} // namespace logging
