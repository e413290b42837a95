#pragma once

#include "qvflash.h"

#include <string>

namespace quorvik::qvflash {

// Returns for success; otherwise throws the status's exception with its registered message.
void handleStatusCode(qvflash_StatusCode code);

// The program's own wording for a status, replacing an earlier one. Only at start-up: token
// operations read the messages without a lock.
void registerWhat(qvflash_StatusCode code, const std::string& text);

} // namespace quorvik::qvflash
