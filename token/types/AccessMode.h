#pragma once

#include "cli/EnumTextTable.h"

#include <iosfwd>
#include <optional>
#include <string>

// How the host sees a flash volume.
enum class AccessMode : int {
    Hidden = 0,
    ReadOnly = 1,
    ReadWrite = 2,
    CdRom = 3,
};

std::optional<std::string> toString(AccessMode value);

template <>
std::optional<AccessMode> toEnum<AccessMode>(const std::string& text);

std::ostream& operator<<(std::ostream& out, AccessMode value);
std::istream& operator>>(std::istream& in, AccessMode& value);
