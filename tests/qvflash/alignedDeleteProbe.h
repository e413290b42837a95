#pragma once

#include <cstddef>
#include <vector>

// The test binary that links alignedDeleteProbe.cpp records, while armed, the
// bytes of every over-aligned block at the moment it is released.
struct ReleasedBlock {
    const void* address;
    std::vector<unsigned char> bytes;
};

void armAlignedDeleteProbe();
std::vector<ReleasedBlock> disarmAlignedDeleteProbe();
