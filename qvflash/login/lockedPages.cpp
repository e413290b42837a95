#include <qvflash-core/login/lockedPages.h>

#include <qvflash-core/utils/wipeBytes.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>

namespace qvfl {
namespace {

std::size_t pageSize()
{
    static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

// Whole pages, at least one, so that no other allocation shares them.
std::size_t blockSize(std::size_t size)
{
    const std::size_t page = pageSize();
    if (size > static_cast<std::size_t>(-1) - page) {
        throw std::bad_array_new_length();
    }
    return size == 0 ? page : (size + page - 1) / page * page;
}

} // namespace

void* allocateLockedPages(std::size_t size)
{
    const std::size_t bytes = blockSize(size);
    void* block = ::operator new(bytes, std::align_val_t(pageSize()));
    if (mlock(block, bytes) != 0) {
        ::operator delete(block, std::align_val_t(pageSize()));
        throw std::bad_alloc();
    }
    std::memset(block, 0, bytes);
    return block;
}

void releaseLockedPages(void* block, std::size_t size) noexcept
{
    if (block == nullptr) {
        return;
    }
    const std::size_t bytes = blockSize(size);
    wipeBytes(block, bytes);
    munlock(block, bytes);
    ::operator delete(block, std::align_val_t(pageSize()));
}

} // namespace qvfl
