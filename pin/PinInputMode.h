#pragma once

#include "cli/EnumTextTable.h"

#include <iosfwd>
#include <optional>
#include <string>

enum class PinInputMode : int {
    Generate = 0,
    Options = 1,
    Console = 2,
    Default = 3,
};

std::optional<std::string> toString(PinInputMode mode);

template <>
std::optional<PinInputMode> toEnum<PinInputMode>(const std::string& text);

std::ostream& operator<<(std::ostream& out, PinInputMode mode);
std::istream& operator>>(std::istream& in, PinInputMode& mode);
