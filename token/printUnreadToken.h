#pragma once

#include <string>

class Token;

// The console line of a token whose information could not be read, in the form of the other
// tokens' error lines: its serial where the token still tells it, else its slot, then the error.
void printUnreadToken(const Token& token, const std::string& error);
