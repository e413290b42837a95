#pragma once

#include <string>

// Control characters in text that a token reports or a user gives would break the one-line
// forms it is printed and logged in, forge lines of its own or steer a terminal. They are the
// C0 controls and DEL, the C1 controls (U+0080 to U+009F) and the bytes 0x80 to 0x9F that are
// not part of valid UTF-8, which a terminal may read as C1 controls too.

// Whether the text holds a control character.
bool hasControlCharacters(const std::string& text);

// The text with every control character written as an escape: "\n", "\r", "\t", "\x1b" and the
// like for a byte, "\u0085" and the like for a C1 character; every other byte, UTF-8 included,
// as it is.
std::string escapeControlCharacters(const std::string& text);
