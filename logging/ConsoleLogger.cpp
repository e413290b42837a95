#include "logging/ConsoleLogger.h"

#include "cli/controlCharacters.h"
#include "logging/printToEither.h"
#include "pkcs11/ScopeGuard.h"

#include <boost/format.hpp>

#include <iostream>
#include <string>
#include <vector>

namespace logging {

namespace {

std::string item(const std::string& label, const std::string& value)
{
    return (boost::format("%1%: %2%") % label % escapeControlCharacters(value)).str();
}

} // namespace

ConsoleLogger::ConsoleLogger(bool showPins) : showPins_(showPins) {}

void ConsoleLogger::flush(std::uint64_t serial)
{
    const auto& record = holder_.getFullRecord(serial);
    std::vector<std::string> items;
    // Printing never fails the flush: the guard reports its error and the record then stays.
    auto printAndForget = vt::scopeGuard(vt::ScopeExit{}, [&] {
        if (!items.empty()) {
            std::string line = items.front();
            for (std::size_t i = 1; i < items.size(); ++i)
                line += ", " + items[i];
            // One insertion: lines printed outside this logger's lock stay whole beside it.
            line += '\n';
            // The line may hold PINs that are already on the token and shown nowhere else.
            printToEither(std::cout, std::cerr, line);
        }
        holder_.eraseRecord(serial);
    });

    const bool worthALine = record.error || (showPins_ && !record.pins.empty()) || record.mvaId || record.localId;
    if (!worthALine)
        return;
    items.push_back(item("serial", std::to_string(record.operation.serialNumber)));
    items.push_back(item("model", record.operation.model));
    if (record.error) {
        items.push_back(item("error", *record.error));
        return;
    }
    if (record.mvaId)
        items.push_back(item("MVA id", std::to_string(*record.mvaId)));
    if (record.localId)
        items.push_back(item("Local id", std::to_string(*record.localId)));
    if (showPins_) {
        for (const auto& pin : record.pins)
            items.push_back(item(pin.name, pin.value.value_or("***")));
    }
}

int ConsoleLogger::getError()
{
    return writeError_;
}

} // namespace logging
