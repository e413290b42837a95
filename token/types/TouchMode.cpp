#include "token/types/TouchMode.h"

namespace {
const EnumTextTable<TouchMode, 2> texts{{
    {TouchMode::Discrete, "discrete"},
    {TouchMode::Continuous, "continuous"},
}};
} // namespace

std::optional<std::string> toString(TouchMode value)
{
    return textOf(texts, value);
}

template <>
std::optional<TouchMode> toEnum<TouchMode>(const std::string& text)
{
    return valueOf(texts, text);
}

std::ostream& operator<<(std::ostream& out, TouchMode value)
{
    return writeEnumText(out, value);
}

std::istream& operator>>(std::istream& in, TouchMode& value)
{
    return readEnumText(in, value);
}
