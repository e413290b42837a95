#pragma once

#include "logging/BaseLogger.h"
#include "logging/LogHolder.h"

namespace logging {

// A sink that gathers each token's records until its flush, refusing records out of order.
class HoldingLogger : public BaseLogger {
public:
    void add(const CommandRecord& record) override;
    void add(const OperationRecord& record) override;
    void add(std::uint64_t serial, const PinRecord& record) override;
    void add(std::uint64_t serial, const MvaIdRecord& record) override;
    void add(std::uint64_t serial, const LocalPinIdRecord& record) override;
    void addError(std::uint64_t serial, const std::string& error) override;

protected:
    LogHolder holder_;
};

} // namespace logging
