#pragma once

#include "logging/BaseLogger.h"
#include "logging/FullRecord.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace logging {

// Gathers the records of each token until its flush and refuses records that break the
// calling order. It does not lock: its owners are always used behind a ThreadsafeProxyLogger.
class LogHolder {
public:
    void add(const CommandRecord& record);
    void add(const OperationRecord& record);
    void add(std::uint64_t serial, const PinRecord& record);
    void add(std::uint64_t serial, const MvaIdRecord& record);
    void add(std::uint64_t serial, const LocalPinIdRecord& record);
    void addError(std::uint64_t serial, const std::string& error);

    const CommandRecord& getCommandRecord() const;
    const FullRecord& getFullRecord(std::uint64_t serial) const;
    void eraseRecord(std::uint64_t serial);

private:
    FullRecord& recordOf(std::uint64_t serial);

    std::optional<CommandRecord> commandRecord_;
    std::map<std::uint64_t, FullRecord> records_;
};

} // namespace logging
