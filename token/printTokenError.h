#pragma once

#include <string>

class Token;

// The console line of a token that failed before its information was read (it could not be
// read, or the token was never begun), in the form of the other tokens' error lines: its serial
// where the token still tells it, else its slot, then the error.
void printTokenError(const Token& token, const std::string& error);
