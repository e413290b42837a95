#pragma once

#include "cli/EnumTextTable.h"

#include <iosfwd>
#include <optional>
#include <string>

// How the token's touch interface confirms operations.
enum class TouchMode : int {
    Discrete = 0,
    Continuous = 1,
};

std::optional<std::string> toString(TouchMode value);

template <>
std::optional<TouchMode> toEnum<TouchMode>(const std::string& text);

std::ostream& operator<<(std::ostream& out, TouchMode value);
std::istream& operator>>(std::istream& in, TouchMode& value);
