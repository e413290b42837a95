#pragma once

#include "flash/Token.h"

// Restores the attempts of the flash token's user PIN, MVAs and local PINs. When it fails after
// the user PIN's counter was reset, the error keeps its text and names the counters reset
// before the failure, so that the operator knows what was restored.
void unblockFlashPins(quorvik::qvflash::Token& flash);
