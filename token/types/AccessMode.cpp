#include "token/types/AccessMode.h"

namespace {
const EnumTextTable<AccessMode, 4> texts{{
    {AccessMode::Hidden, "h"},
    {AccessMode::ReadOnly, "r"},
    {AccessMode::ReadWrite, "rw"},
    {AccessMode::CdRom, "cd"},
}};
} // namespace

std::optional<std::string> toString(AccessMode value)
{
    return textOf(texts, value);
}

template <>
std::optional<AccessMode> toEnum<AccessMode>(const std::string& text)
{
    return valueOf(texts, text);
}

std::ostream& operator<<(std::ostream& out, AccessMode value)
{
    return writeEnumText(out, value);
}

std::istream& operator>>(std::istream& in, AccessMode& value)
{
    return readEnumText(in, value);
}
