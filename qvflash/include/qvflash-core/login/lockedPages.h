#pragma once

#include <cstddef>

namespace qvfl {

// Memory for secrets, kept out of swap. Every block owns whole pages of its
// own: munlock works on whole pages and does not nest, so a block that shared
// a page with another secret would unlock that secret when it is released.

// A block of at least size bytes, zero-filled and locked in memory; throws
// std::bad_alloc when the system refuses to lock it.
void* allocateLockedPages(std::size_t size);

// Wipes, unlocks and frees a block of allocateLockedPages(size).
void releaseLockedPages(void* block, std::size_t size) noexcept;

} // namespace qvfl
