#pragma once

#include <qvflash.h>

#include <cstdint>
#include <vector>

namespace qvfl::exports {

// Hands a list of local object ids to the caller: the count first, then the
// array. An id outside 3..31 fails with 100018 after the count was written;
// the array is then released and the caller's list pointer left alone.
void publishIdList(const std::vector<std::uint16_t>& ids, uint16_t** list, size_t* count);

} // namespace qvfl::exports
