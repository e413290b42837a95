#include "pin/LogPinSettingsVisitor.h"

#include "logging/addOption.h"
#include "pin/GenerateInputMode.h"

LogPinSettingsVisitor::LogPinSettingsVisitor(logging::CommandRecord& record) : record_(record) {}

void LogPinSettingsVisitor::visit(BaseInputMode&) {}

void LogPinSettingsVisitor::visit(GenerateInputMode& mode)
{
    logging::addOption(record_, mode.settingsOption(), mode.getSettings());
}
