#pragma once

#include "logging/BaseLogger.h"

#include <cstdint>
#include <exception>
#include <map>
#include <string>
#include <vector>

namespace logging {

// Writes the PINs that the program generated, one row per PIN, to a semicolon-separated file,
// the only place where they can be found again. Rows wait for their token's flush and are
// dropped when its operation failed.
class PinFileLogger : public BaseLogger {
public:
    struct PinInfo {
        std::string pinType;
        std::string value;
    };

    // "pin-file.txt" beside the program.
    PinFileLogger();
    // Checks the path, an existing file, or the folder a missing one would go in (that it is one
    // this process may write into), so that a bad path, a refused file or a place that cannot
    // take the file fails before any token is touched. A missing file is made, with its folder
    // (one level) and its header, only when the first row is written: a run that generates no
    // PIN leaves no file.
    explicit PinFileLogger(const std::string& path);

    void add(const CommandRecord& record) override;
    void add(const OperationRecord& record) override;
    void add(std::uint64_t serial, const PinRecord& record) override;
    void add(std::uint64_t serial, const MvaIdRecord& record) override;
    void add(std::uint64_t serial, const LocalPinIdRecord& record) override;
    void addError(std::uint64_t serial, const std::string& error) override;
    void flush(std::uint64_t serial) override;
    // Raises the refusal of the first place (folder, link or file) refused at a write, naming it
    // as at the start.
    int getError() override;

private:
    // Appends the rows, creating the file with its header when it is missing. 0, or the system
    // error number of the failure; raises the refusal of the file or of a place on its way.
    int write(const std::string& rows) const;

    int writeError_ = NoWriteError;
    std::exception_ptr refusal_;
    std::string path_;
    std::map<std::uint64_t, std::vector<PinInfo>> pending_;
};

} // namespace logging
