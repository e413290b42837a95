#include "commands/logCommandRecord.h"

#include "pin/LogPinSettingsVisitor.h"

void logCommandRecord(logging::BaseLogger& logger, logging::CommandRecord record,
                      const std::vector<PinManager>& managers)
{
    LogPinSettingsVisitor settings(record);
    for (const auto& manager : managers) {
        manager.accept(settings);
    }
    logger.add(record);
}
