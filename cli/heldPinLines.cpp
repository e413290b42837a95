#include "cli/heldPinLines.h"

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <unistd.h>

namespace held_pin_lines {

namespace {

// The text follows the header in one allocation, so that a signal handler reads a line through
// one atomic pointer and never sees a length of another line.
struct Line {
    std::uint64_t serial;
    std::size_t size;
    char* text() { return reinterpret_cast<char*>(this + 1); }
};

// A signal handler cannot allocate or lock: the places are fixed, each an atomic pointer. A run
// works on at most as many tokens at once as PC/SC has readers, far fewer than these places.
constexpr std::size_t kPlaces = 1024;
std::array<std::atomic<Line*>, kPlaces> places{};
// Set once the lines are being written out; from then on no line is freed.
std::atomic<bool> writingOut{false};
// Between the tokens' threads, which look into each other's lines; the signal handler only
// reads the places.
std::mutex placesMutex;

static_assert(std::atomic<Line*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "a signal handler may only use lock-free atomics");

void wipe(char* text, std::size_t size) noexcept
{
    volatile char* byte = text;
    for (std::size_t i = 0; i < size; ++i) {
        byte[i] = 0;
    }
}

void release(Line* line) noexcept
{
    // Checked after the line was taken out of its place: a write-out that began before still
    // reads it.
    if (writingOut.load()) {
        return;
    }
    wipe(line->text(), line->size);
    ::operator delete(line);
}

bool writeWhole(int fd, const char* text, std::size_t size) noexcept
{
    while (size > 0) {
        const ssize_t written = ::write(fd, text, size);
        if (written <= 0) {
            return false;
        }
        text += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::size_t hold(std::uint64_t serial, const std::string& line)
{
    void* memory = ::operator new(sizeof(Line) + line.size());
    auto* held = new (memory) Line{serial, line.size()};
    std::memcpy(held->text(), line.data(), line.size());
    const std::lock_guard<std::mutex> lock(placesMutex);
    for (std::size_t place = 0; place < kPlaces; ++place) {
        if (places[place].load() == nullptr) {
            places[place].store(held);
            return place;
        }
    }
    release(held);
    return kNowhere;
}

void drop(std::size_t place) noexcept
{
    if (place < kPlaces) {
        const std::lock_guard<std::mutex> lock(placesMutex);
        if (Line* line = places[place].exchange(nullptr)) {
            release(line);
        }
    }
}

void dropAll(std::uint64_t serial) noexcept
{
    const std::lock_guard<std::mutex> lock(placesMutex);
    for (auto& place : places) {
        Line* line = place.load();
        if (line != nullptr && line->serial == serial) {
            place.store(nullptr);
            release(line);
        }
    }
}

void writeAll() noexcept
{
    writingOut.store(true);
    for (auto& place : places) {
        if (Line* line = place.load()) {
            if (!writeWhole(STDERR_FILENO, line->text(), line->size)) {
                writeWhole(STDOUT_FILENO, line->text(), line->size);
            }
        }
    }
}

} // namespace held_pin_lines
