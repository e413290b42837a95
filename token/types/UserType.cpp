#include "token/types/UserType.h"

namespace {
const EnumTextTable<UserType, 2> texts{{
    {UserType::User, "user"},
    {UserType::So, "so"},
}};
} // namespace

std::optional<std::string> toString(UserType value)
{
    return textOf(texts, value);
}

template <>
std::optional<UserType> toEnum<UserType>(const std::string& text)
{
    return valueOf(texts, text);
}

std::ostream& operator<<(std::ostream& out, UserType value)
{
    return writeEnumText(out, value);
}

std::istream& operator>>(std::istream& in, UserType& value)
{
    return readEnumText(in, value);
}
