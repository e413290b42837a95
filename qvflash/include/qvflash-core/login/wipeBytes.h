#pragma once

#include <cstddef>

namespace qvfl {

// Overwrites a secret with zeros in a way the compiler may not drop as a
// store to memory that is about to be released.
void wipeBytes(void* bytes, std::size_t size) noexcept;

} // namespace qvfl
