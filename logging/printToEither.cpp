#include "logging/printToEither.h"

#include <ostream>

namespace logging {

void printToEither(std::ostream& preferred, std::ostream& fallback, const std::string& text)
{
    preferred << text << std::flush;
    if (!preferred)
        fallback << text << std::flush;
}

} // namespace logging
