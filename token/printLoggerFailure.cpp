#include "token/printLoggerFailure.h"

#include "cli/controlCharacters.h"

#include <iostream>

void printLoggerFailure(std::uint64_t serial, const std::string& model, const std::string& error)
{
    // One insertion, so that the line stays whole among the lines of tokens on other threads.
    std::cout << "serial: " + std::to_string(serial) + ", model: " + escapeControlCharacters(model) +
                     ", logger error: " + escapeControlCharacters(error) + "\n"
              << std::flush;
}
