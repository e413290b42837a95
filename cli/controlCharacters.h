#pragma once

#include <string>

// Control characters (C0 and DEL) in text that a token reports or a user gives would break
// the one-line forms it is printed and logged in, forge lines of its own or steer a terminal.

// Whether the text holds a control character.
bool hasControlCharacters(const std::string& text);

// The text with every control character written as an escape, "\n", "\r", "\t" or "\x1b" and
// the like, and every other byte, UTF-8 included, as it is.
std::string escapeControlCharacters(const std::string& text);
