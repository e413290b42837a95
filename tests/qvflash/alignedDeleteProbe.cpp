#include "alignedDeleteProbe.h"

#include <cstdlib>
#include <mutex>
#include <new>

namespace {

std::mutex probeMutex;
bool armed = false;
std::vector<ReleasedBlock>* released = nullptr;

// Only the block's start is recorded: enough to see a wipe without keeping
// a copy of a whole page per release.
constexpr std::size_t kRecordedBytes = 64;

void record(void* block)
{
    const std::lock_guard<std::mutex> lock(probeMutex);
    if (!armed) {
        return;
    }
    armed = false; // the recording itself allocates
    const auto* bytes = static_cast<const unsigned char*>(block);
    released->push_back({block, std::vector<unsigned char>(bytes, bytes + kRecordedBytes)});
    armed = true;
}

} // namespace

void armAlignedDeleteProbe()
{
    const std::lock_guard<std::mutex> lock(probeMutex);
    delete released;
    released = new std::vector<ReleasedBlock>();
    armed = true;
}

std::vector<ReleasedBlock> disarmAlignedDeleteProbe()
{
    const std::lock_guard<std::mutex> lock(probeMutex);
    armed = false;
    std::vector<ReleasedBlock> result = std::move(*released);
    delete released;
    released = nullptr;
    return result;
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    if (void* block = std::aligned_alloc(align, rounded == 0 ? align : rounded)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block, std::align_val_t) noexcept
{
    if (block != nullptr) {
        record(block);
    }
    std::free(block);
}

void operator delete(void* block, std::size_t, std::align_val_t alignment) noexcept
{
    operator delete(block, alignment);
}
