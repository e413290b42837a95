#pragma once

#include "cli/EnumTextTable.h"

#include <iosfwd>
#include <optional>
#include <string>

// The kinds of flash section the tool creates.
enum class SectionType : int {
    UserFiles = 0,
    Journal = 1,
};

std::optional<std::string> toString(SectionType value);

template <>
std::optional<SectionType> toEnum<SectionType>(const std::string& text);

std::ostream& operator<<(std::ostream& out, SectionType value);
std::istream& operator>>(std::istream& in, SectionType& value);
