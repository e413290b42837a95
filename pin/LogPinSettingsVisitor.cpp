#include "pin/LogPinSettingsVisitor.h"

#include "logging/addOption.h"
#include "pin/GenerateInputMode.h"

LogPinSettingsVisitor::LogPinSettingsVisitor(logging::CommandRecord& record) : record(record) {}

void LogPinSettingsVisitor::visit(BaseInputMode&) {}

void LogPinSettingsVisitor::visit(GenerateInputMode& mode)
{
    logging::addOption(record, mode.settingsOption(), mode.getSettings());
}
