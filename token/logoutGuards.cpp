#include "token/logoutGuards.h"

#include <exception>
#include <iostream>
#include <string>

void reportLogoutError(std::uint64_t serial) noexcept
{
    try {
        std::string line = "serial: " + std::to_string(serial) + ", logout failed: ";
        try {
            throw;
        } catch (const std::exception& error) {
            line += error.what();
        } catch (...) {
            line += "An error occured in scope guard";
        }
        // One write, so that the lines of tokens at work at once do not interleave.
        std::cerr << line + "\n" << std::flush;
    } catch (...) {
        // Nothing is left to report with.
    }
}
