#pragma once

#include "logging/HoldingLogger.h"

namespace logging {

// Prints one line per token on the standard output when there is something worth showing: an
// error, a created MVA or local PIN id, or, with showPins, the PINs the token was given. A line
// that standard output does not take goes to standard error.
class ConsoleLogger : public HoldingLogger {
public:
    // showPins: true only when no log file and no PIN file keep the generated PINs.
    explicit ConsoleLogger(bool showPins);

    void flush(std::uint64_t serial) override;
    // Always 0: writing to the console is never reported as a failed log.
    int getError() override;

private:
    int writeError_ = NoWriteError;
    bool showPins_;
};

} // namespace logging
