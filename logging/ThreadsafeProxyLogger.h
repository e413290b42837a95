#pragma once

#include "logging/BaseLogger.h"

#include <memory>
#include <mutex>

// Serialises every call into one sink, so that the records and flushes of tokens handled on
// different threads never mix inside it.
class ThreadsafeProxyLogger : public logging::BaseLogger {
public:
    explicit ThreadsafeProxyLogger(std::shared_ptr<logging::BaseLogger> inner);

    void add(const logging::CommandRecord& record) override;
    void add(const logging::OperationRecord& record) override;
    void add(std::uint64_t serial, const logging::PinRecord& record) override;
    void add(std::uint64_t serial, const logging::MvaIdRecord& record) override;
    void add(std::uint64_t serial, const logging::LocalPinIdRecord& record) override;
    void addError(std::uint64_t serial, const std::string& error) override;
    void flush(std::uint64_t serial) override;
    int getError() override;

private:
    std::mutex mutex_;
    std::shared_ptr<logging::BaseLogger> inner_;
};
