#pragma once

#include "logging/HoldingLogger.h"

#include <string>

namespace logging {

// Appends one block of text per flushed token to one log file. A block holding a generated PIN
// that cannot be written is handed to the operator on the standard error stream (standard
// output when that refuses it); the failure is then reported as usual.
class FileLogger : public HoldingLogger {
public:
    // Creates the file's folder (one level) and the file itself, so that a bad path or a
    // refused file or folder fails before any token is touched.
    explicit FileLogger(const std::string& path);

    void flush(std::uint64_t serial) override;
    int getError() override;

private:
    std::string path_;
    int writeError_ = NoWriteError;
};

} // namespace logging
