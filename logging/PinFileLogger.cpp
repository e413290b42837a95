#include "logging/PinFileLogger.h"

#include "cli/LoggerError.h"
#include "logging/AppendFile.h"
#include "logging/CheckedFolder.h"
#include "logging/LogFilePath.h"
#include "logging/printToEither.h"

#include <cerrno>
#include <filesystem>
#include <iostream>

namespace logging {

namespace {

constexpr const char* kDefaultFileName = "pin-file.txt";
constexpr const char* kSeparator = ";";
constexpr const char* kSerialNumberHeader = "Token Number";
constexpr const char* kPinTypeHeader = "PIN Type";
constexpr const char* kPinValueHeader = "Value";

std::string dump(const std::string& a, const std::string& b, const std::string& c)
{
    return a + kSeparator + b + kSeparator + c + '\n';
}

std::string header()
{
    return dump(kSerialNumberHeader, kPinTypeHeader, kPinValueHeader);
}

std::string constructWorkdirDefaultPath()
{
    return (std::filesystem::path(programDirectory()) / kDefaultFileName).string();
}

} // namespace

PinFileLogger::PinFileLogger() : PinFileLogger(constructWorkdirDefaultPath()) {}

PinFileLogger::PinFileLogger(const std::string& path) : path_(path)
{
    checkFileName(path);
    // The file is looked for in the folder that was walked to, as it will be written: the path
    // as a whole may be longer than the system looks up.
    const CheckedFolder folder(path, CheckedFolder::Missing::Leave);
    if (!folder.holdsFile(path)) {
        folder.raiseRefusal();
        if (!folder.canTakeFile())
            throw FileOpenError(folder.filePath());
        return;
    }
    // Made by this open only when removed since the look: then it gets its header now.
    auto file = openFileAndWarn(folder, path);
    if (file.created()) {
        if (const int failure = file.appendAndClose(header()))
            writeError_ = writeErrorCode(failure);
    }
}

void PinFileLogger::add(const CommandRecord&) {}

void PinFileLogger::add(const OperationRecord&) {}

void PinFileLogger::add(std::uint64_t serial, const PinRecord& record)
{
    if (record.value)
        pending_[serial].push_back({record.pinType, *record.value});
}

void PinFileLogger::add(std::uint64_t, const MvaIdRecord&) {}

void PinFileLogger::add(std::uint64_t, const LocalPinIdRecord&) {}

void PinFileLogger::addError(std::uint64_t serial, const std::string&)
{
    pending_.erase(serial);
}

void PinFileLogger::flush(std::uint64_t serial)
{
    const auto found = pending_.find(serial);
    if (found == pending_.end())
        return;
    std::string rows;
    for (const auto& pin : found->second)
        rows += dump(std::to_string(serial), pin.pinType, pin.value);
    pending_.erase(found);

    // A failed open is recorded like a failed write; a refused place is kept to be named.
    int failure = 0;
    try {
        failure = write(rows);
    } catch (const LoggerError&) {
        if (!refusal_)
            refusal_ = std::current_exception();
        failure = EPERM;
    }
    if (failure != 0) {
        writeError_ = writeErrorCode(failure);
        // These PINs are already set on the token and written nowhere else for sure: hand them
        // to the operator, in the file's form, rather than lose them.
        printToEither(std::cerr, std::cout, header() + rows);
    }
}

int PinFileLogger::write(const std::string& rows) const
{
    auto file = openUnlessRefused(CheckedFolder(path_, CheckedFolder::Missing::Make), path_);
    // Only the run that creates the file writes the header, also when two write their first
    // rows together. A header cut by a full disk is taken back like rows.
    return file.created() ? file.appendAndClose({header(), rows}) : file.appendAndClose(rows);
}

int PinFileLogger::getError()
{
    if (refusal_)
        std::rethrow_exception(refusal_);
    return writeError_;
}

} // namespace logging
