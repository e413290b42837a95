#pragma once

#include <iosfwd>
#include <string>

namespace logging {

// Writes text that may carry PINs known nowhere else to `preferred` in one insertion; when that
// stream takes nothing (full, closed, failed before), the text goes to `fallback` instead, so
// that a console stream that cannot be written never loses a PIN the other one could show.
void printToEither(std::ostream& preferred, std::ostream& fallback, const std::string& text);

} // namespace logging
