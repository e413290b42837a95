#pragma once

namespace options {

// Every options description of the program, and the command catalogue beside them, is
// laid out for this line length and minimum description width.
constexpr unsigned kLineLength = 80;
constexpr unsigned kMinDescriptionLength = 40;

} // namespace options
