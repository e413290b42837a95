#pragma once

#include <qvflash-core/login/lockedPages.h>

#include <cstddef>
#include <limits>
#include <new>

namespace qvfl {

// Standard allocator for secret bytes: every buffer lies on locked pages of
// its own and is wiped before it is released, also the buffers a growing
// container leaves behind.
template <typename T>
class locked_allocator {
public:
    using value_type = T;

    locked_allocator() noexcept = default;
    template <typename U>
    locked_allocator(const locked_allocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(allocateLockedPages(n * sizeof(T)));
    }

    void deallocate(T* p, std::size_t n) noexcept { releaseLockedPages(p, n * sizeof(T)); }
};

template <typename T, typename U>
bool operator==(const locked_allocator<T>&, const locked_allocator<U>&) noexcept
{
    return true;
}

template <typename T, typename U>
bool operator!=(const locked_allocator<T>&, const locked_allocator<U>&) noexcept
{
    return false;
}

} // namespace qvfl
