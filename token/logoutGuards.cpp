#include "token/logoutGuards.h"

#include "cli/controlCharacters.h"

#include <iostream>
#include <string>

void reportLogoutError(std::uint64_t serial) noexcept
{
    try {
        // One write, so that the lines of tokens at work at once do not interleave.
        std::cerr << "serial: " + std::to_string(serial) +
                         ", logout failed: " + escapeControlCharacters(vt::currentErrorText()) + "\n"
                  << std::flush;
    } catch (...) {
        // Nothing is left to report with.
    }
}
