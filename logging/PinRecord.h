#pragma once

#include <optional>
#include <string>

namespace logging {

// A PIN that an operation gave a token. value is present only for a PIN the program generated:
// nobody else knows it, so the sinks that write files keep it.
struct PinRecord {
    std::string name;
    std::string pinType;
    std::optional<std::string> value;
};

} // namespace logging
