#pragma once

#include "token/types/AccessMode.h"

#include <cstdint>
#include <optional>
#include <string>

struct SetVolumeAccessModeParams {
    // Absent when the volume's owners need no PIN.
    std::optional<std::string> pin;
    AccessMode accessMode = AccessMode::Hidden;
    std::uint64_t volumeId = 0;
    // False for a change that lasts until the token is plugged in again.
    bool permanent = true;
};
