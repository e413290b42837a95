#include "logging/LogHolder.h"

#include "cli/internalError.h"

namespace logging {

void LogHolder::add(const CommandRecord& record)
{
    if (commandRecord_)
        throw CommandRecordAlreadyExistsError();
    commandRecord_ = record;
}

void LogHolder::add(const OperationRecord& record)
{
    if (!records_.emplace(record.serialNumber, FullRecord{record, {}, {}, {}, {}}).second)
        throw RecordAlreadyExistsError();
}

void LogHolder::add(std::uint64_t serial, const PinRecord& record)
{
    recordOf(serial).pins.push_back(record);
}

void LogHolder::add(std::uint64_t serial, const MvaIdRecord& record)
{
    recordOf(serial).mvaId = record.id;
}

void LogHolder::add(std::uint64_t serial, const LocalPinIdRecord& record)
{
    recordOf(serial).localId = record.id;
}

void LogHolder::addError(std::uint64_t serial, const std::string& error)
{
    recordOf(serial).error = error;
}

const CommandRecord& LogHolder::getCommandRecord() const
{
    if (!commandRecord_)
        throw NoCommandRecordError();
    return *commandRecord_;
}

const FullRecord& LogHolder::getFullRecord(std::uint64_t serial) const
{
    const auto found = records_.find(serial);
    if (found == records_.end())
        throw NoRecordError();
    return found->second;
}

FullRecord& LogHolder::recordOf(std::uint64_t serial)
{
    return const_cast<FullRecord&>(getFullRecord(serial));
}

void LogHolder::eraseRecord(std::uint64_t serial)
{
    records_.erase(serial);
}

} // namespace logging
