#pragma once

#include "cli/EnumTextTable.h"

#include <iosfwd>
#include <optional>
#include <string>

// The tool's own roles; the PKCS#11 module and the flash library number them differently.
enum class UserType : int {
    User = 0,
    So = 1,
};

std::optional<std::string> toString(UserType value);

template <>
std::optional<UserType> toEnum<UserType>(const std::string& text);

std::ostream& operator<<(std::ostream& out, UserType value);
std::istream& operator>>(std::istream& in, UserType& value);
