#include "logging/FileLogger.h"

#include "cli/LoggerError.h"
#include "cli/controlCharacters.h"
#include "logging/AppendFile.h"
#include "logging/CheckedFolder.h"
#include "logging/LogFilePath.h"
#include "logging/printToEither.h"

#include <algorithm>
#include <iostream>

namespace logging {

namespace {

constexpr const char* kIndent = "    ";

std::string dump(const char* indent, const std::string& key, const std::string& value)
{
    return indent + key + ": " + escapeControlCharacters(value) + '\n';
}

std::string block(const CommandRecord& command, const FullRecord& record)
{
    std::string text = dump("", "timestamp", record.operation.timestamp) +
                       dump("", "serial", std::to_string(record.operation.serialNumber)) +
                       dump("", "model", record.operation.model) + command.name + '\n';
    for (const auto& option : command.options)
        text += dump(kIndent, option.key, option.value);
    for (const auto& flag : command.flags)
        text += dump(kIndent, flag, "true");
    for (const auto& pin : record.pins)
        text += dump(kIndent, pin.name, pin.value.value_or("***"));
    if (record.mvaId)
        text += dump(kIndent, "MVA id", std::to_string(*record.mvaId));
    if (record.localId)
        text += dump(kIndent, "Local id", std::to_string(*record.localId));
    if (record.error)
        text += dump("", "error", *record.error);
    text += dump("", "status", record.error ? "failure" : "success");
    return text + '\n';
}

} // namespace

FileLogger::FileLogger(const std::string& path) : path_(path)
{
    checkFileName(path);
    openFileAndWarn(CheckedFolder(path, CheckedFolder::Missing::Make), path);
}

void FileLogger::flush(std::uint64_t serial)
{
    const auto& record = holder_.getFullRecord(serial);
    const std::string text = block(holder_.getCommandRecord(), record);
    const bool carriesPin =
        std::any_of(record.pins.begin(), record.pins.end(), [](const PinRecord& pin) { return pin.value.has_value(); });
    holder_.eraseRecord(serial);
    // Without a PIN file the block may be a generated PIN's only record: when it cannot be
    // written, the operator gets it whole before the failure is reported.
    const auto handOver = [&] {
        if (carriesPin)
            printToEither(std::cerr, std::cout, text);
    };
    try {
        if (const int failure = openFile(path_, CheckedFolder::Missing::Leave).appendAndClose(text)) {
            writeError_ = writeErrorCode(failure);
            handOver();
        }
    } catch (const LoggerError&) {
        handOver();
        throw;
    }
}

int FileLogger::getError()
{
    return writeError_;
}

} // namespace logging
