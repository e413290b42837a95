#pragma once

#include "logging/CommandRecord.h"
#include "pin/BasePinManagerVisitor.h"

// Adds the generation settings of a generating role to the command record; PINs never
// enter it.
class LogPinSettingsVisitor : public BasePinManagerVisitor {
public:
    explicit LogPinSettingsVisitor(logging::CommandRecord& record);

    void visit(BaseInputMode& mode) override;
    void visit(GenerateInputMode& mode) override;

private:
    logging::CommandRecord& record_;
};
