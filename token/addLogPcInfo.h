#pragma once

#include "flash/Token.h"

// Writes this host's user, domain, system, device name and the time into the token's journal,
// as far as the token takes it: a failed write is not an error of the operation it records.
void addLogPcInfo(quorvik::qvflash::Token& token);
