#pragma once

#include "flash/StatusCondition.h"
#include "token/types/VolumeOwner.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Runs a login through the flash library and turns a refused PIN, a host missing from an MVA
// and a blocked PIN or MVA of `owner` into the tool's errors. A refusal that does not say how
// many attempts are left stays the library's own error; every other error passes unchanged.
void wrapQvflashLogin(const std::function<void()>& login, const VolumeOwner& owner);

// The login attempts left that a failed status reports, if it does.
std::optional<std::int64_t> getAttempts(const std::vector<quorvik::qvflash::StatusCondition>& conditions);
