#include "token/types/SectionType.h"

namespace {
const EnumTextTable<SectionType, 2> texts{{
    {SectionType::UserFiles, "user-files"},
    {SectionType::Journal, "journal"},
}};
} // namespace

std::optional<std::string> toString(SectionType value)
{
    return textOf(texts, value);
}

template <>
std::optional<SectionType> toEnum<SectionType>(const std::string& text)
{
    return valueOf(texts, text);
}

std::ostream& operator<<(std::ostream& out, SectionType value)
{
    return writeEnumText(out, value);
}

std::istream& operator>>(std::istream& in, SectionType& value)
{
    return readEnumText(in, value);
}
