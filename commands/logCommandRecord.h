#pragma once

#include "logging/BaseLogger.h"
#include "logging/CommandRecord.h"
#include "pin/PinManager.h"

#include <vector>

// Hands the command record to the logger, completed with the generation settings of the
// generated PINs in the managers' order; PIN values never enter it.
void logCommandRecord(logging::BaseLogger& logger, logging::CommandRecord record,
                      const std::vector<PinManager>& managers);
