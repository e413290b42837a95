#pragma once

#include "cli/EnumTextTable.h"

#include <iosfwd>
#include <optional>
#include <string>

// Who may change the user PIN: the administrator, the user, or both.
enum class PinChangePolicy : int {
    So = 0,
    User = 1,
    Both = 2,
};

std::optional<std::string> toString(PinChangePolicy value);

template <>
std::optional<PinChangePolicy> toEnum<PinChangePolicy>(const std::string& text);

std::ostream& operator<<(std::ostream& out, PinChangePolicy value);
std::istream& operator>>(std::istream& in, PinChangePolicy& value);
