#pragma once

#include "token/types/AccessMode.h"
#include "token/types/SectionType.h"
#include "token/types/VolumeOwner.h"

#include <cstdint>
#include <iosfwd>
#include <vector>

// One volume of a flash drive to be formatted, written SIZE:MODE:OWNERS[:TYPE], for example
// 1024:rw:user,mva-5 or 64:r:none:journal.
struct VolumeParams {
    // Megabytes; the flash library holds a section's size in 32 bits.
    std::uint64_t size = 0;
    AccessMode accessMode = AccessMode::Hidden;
    std::vector<VolumeOwner> owners;
    SectionType sectionType = SectionType::UserFiles;
};

// Reads one word of three or four parts between colons; an empty part, a size that is signed
// or above 4294967295, any unreadable part, or text left over fails the stream and leaves the
// target unchanged.
std::istream& operator>>(std::istream& in, VolumeParams& params);
