#pragma once

#include <cstdint>
#include <vector>

// The host's snapshot text as the snapshot library computes it, without a terminator; throws
// the library's failures as quorvik::qvflash_utils exceptions.
std::vector<uint8_t> getPcSnapshot();
