#include "logging/ThreadsafeProxyLogger.h"

#include <utility>

ThreadsafeProxyLogger::ThreadsafeProxyLogger(std::shared_ptr<logging::BaseLogger> inner) : inner_(std::move(inner)) {}

void ThreadsafeProxyLogger::add(const logging::CommandRecord& record)
{
    std::lock_guard lock(mutex_);
    inner_->add(record);
}

void ThreadsafeProxyLogger::add(const logging::OperationRecord& record)
{
    std::lock_guard lock(mutex_);
    inner_->add(record);
}

void ThreadsafeProxyLogger::add(std::uint64_t serial, const logging::PinRecord& record)
{
    std::lock_guard lock(mutex_);
    inner_->add(serial, record);
}

void ThreadsafeProxyLogger::add(std::uint64_t serial, const logging::MvaIdRecord& record)
{
    std::lock_guard lock(mutex_);
    inner_->add(serial, record);
}

void ThreadsafeProxyLogger::add(std::uint64_t serial, const logging::LocalPinIdRecord& record)
{
    std::lock_guard lock(mutex_);
    inner_->add(serial, record);
}

void ThreadsafeProxyLogger::addError(std::uint64_t serial, const std::string& error)
{
    std::lock_guard lock(mutex_);
    inner_->addError(serial, error);
}

void ThreadsafeProxyLogger::flush(std::uint64_t serial)
{
    std::lock_guard lock(mutex_);
    inner_->flush(serial);
}

int ThreadsafeProxyLogger::getError()
{
    std::lock_guard lock(mutex_);
    return inner_->getError();
}
