#include "token/printTokenError.h"

#include "cli/controlCharacters.h"
#include "token/Token.h"

#include <exception>
#include <iostream>

void printTokenError(const Token& token, const std::string& error)
{
    std::string name;
    try {
        name = "serial: " + std::to_string(token.getSerialNumber());
    } catch (const std::exception&) {
        name = "slot: " + std::to_string(token.getSlotId());
    }
    // One insertion, so that the line stays whole among the lines of tokens on other threads.
    std::cout << name + ", error: " + escapeControlCharacters(error) + "\n" << std::flush;
}
