#pragma once

#include "logging/CommandRecord.h"
#include "logging/LocalPinIdRecord.h"
#include "logging/MvaIdRecord.h"
#include "logging/OperationRecord.h"
#include "logging/PinRecord.h"

#include <cstdint>
#include <string>

namespace logging {

// Write-error codes of getError: the first write failure decides whether the run ends with
// "disk full" or a general write failure.
enum WriteError : int {
    NoWriteError = 0,
    NoSpaceWriteError = 1,
    OtherWriteError = 2,
};

// A log sink. Calling order: the command record once; then per token, on the thread that
// handles it, its operation record, any PIN and id records, addError when it failed, and flush;
// getError once after every token is done. Write failures are reported by getError (a folder
// refused at a write by raising its refusal, which names it), misuse of the order and open
// failures by exceptions.
class BaseLogger {
public:
    virtual ~BaseLogger() = default;

    virtual void add(const CommandRecord& record) = 0;
    virtual void add(const OperationRecord& record) = 0;
    virtual void add(std::uint64_t serial, const PinRecord& record) = 0;
    virtual void add(std::uint64_t serial, const MvaIdRecord& record) = 0;
    virtual void add(std::uint64_t serial, const LocalPinIdRecord& record) = 0;
    virtual void addError(std::uint64_t serial, const std::string& error) = 0;
    virtual void flush(std::uint64_t serial) = 0;
    virtual int getError() = 0;
};

} // namespace logging
