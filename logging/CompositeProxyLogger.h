#pragma once

#include "logging/BaseLogger.h"

#include <memory>
#include <vector>

namespace logging {

// Hands every call to each of its sinks in list order. It has no lock: the list is fixed at
// construction and each sink serialises itself.
class CompositeProxyLogger : public BaseLogger {
public:
    explicit CompositeProxyLogger(std::vector<std::shared_ptr<BaseLogger>> loggers);

    void add(const CommandRecord& record) override;
    void add(const OperationRecord& record) override;
    void add(std::uint64_t serial, const PinRecord& record) override;
    void add(std::uint64_t serial, const MvaIdRecord& record) override;
    void add(std::uint64_t serial, const LocalPinIdRecord& record) override;
    void addError(std::uint64_t serial, const std::string& error) override;
    void flush(std::uint64_t serial) override;
    // The first non-zero code in list order.
    int getError() override;

private:
    template <typename Call>
    void forEach(const Call& call);

    std::vector<std::shared_ptr<BaseLogger>> loggers_;
};

} // namespace logging
