#include "pin/randomBelow.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#if defined(__APPLE__)
#include <stdlib.h>
#else
#include <sys/random.h>
#endif

namespace {
std::uint64_t randomWord()
{
    std::uint64_t word = 0;
#if defined(__APPLE__)
    arc4random_buf(&word, sizeof word);
#else
    // Requests this small are answered whole once the kernel's pool is ready; until then the
    // call waits, and a signal may interrupt that wait.
    for (;;) {
        const auto got = getrandom(&word, sizeof word, 0);
        if (got == static_cast<ssize_t>(sizeof word)) {
            break;
        }
        if (got < 0 && errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
    }
#endif
    return word;
}
} // namespace

std::size_t randomBelow(std::size_t bound)
{
    // Words below 2^64 mod bound would make the low results more likely than the others.
    const std::uint64_t limit = bound;
    const std::uint64_t skip = (0 - limit) % limit;
    for (;;) {
        const auto word = randomWord();
        if (word >= skip) {
            return static_cast<std::size_t>(word % limit);
        }
    }
}
