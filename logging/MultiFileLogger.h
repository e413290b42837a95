#pragma once

#include "logging/BaseLogger.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace logging {

// Gives every token a log file of its own, "qvadmin_<serial>.log" in the folder "qvadmin-logs",
// created on first use. Its mutex guards only the lookup and creation of a token's logger;
// each token's logger serialises its own calls.
class MultiFileLogger : public BaseLogger {
public:
    // The folder beside the program.
    MultiFileLogger();
    // The folder "qvadmin-logs" inside baseDirectory.
    explicit MultiFileLogger(const std::string& baseDirectory);

    // Runs before the tokens' tasks start, so it takes no lock.
    void add(const CommandRecord& record) override;
    void add(const OperationRecord& record) override;
    void add(std::uint64_t serial, const PinRecord& record) override;
    void add(std::uint64_t serial, const MvaIdRecord& record) override;
    void add(std::uint64_t serial, const LocalPinIdRecord& record) override;
    void addError(std::uint64_t serial, const std::string& error) override;
    void flush(std::uint64_t serial) override;
    // The first non-zero code in ascending serial order. Runs after the tokens' tasks have
    // ended, so it takes no lock.
    int getError() override;

    std::shared_ptr<BaseLogger> getLogger(std::uint64_t serial);

private:
    CommandRecord commandRecord_;
    std::string directory_;
    std::map<std::uint64_t, std::shared_ptr<BaseLogger>> loggers_;
    std::mutex mutex_;
};

} // namespace logging
