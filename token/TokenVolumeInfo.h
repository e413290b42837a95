#pragma once

#include "token/types/AccessMode.h"
#include "token/types/SectionType.h"
#include "token/types/VolumeOwner.h"

#include <cstdint>
#include <optional>
#include <vector>

struct TokenVolumeInfo {
    std::uint64_t id = 0;
    // Megabytes.
    std::uint64_t size = 0;
    AccessMode accessMode = AccessMode::Hidden;
    std::vector<VolumeOwner> owners;
    // Absent for a kind of section the tool has no name for.
    std::optional<SectionType> sectionType;
};
