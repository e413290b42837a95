#include "token/types/PinChangePolicy.h"

namespace {
const EnumTextTable<PinChangePolicy, 3> texts{{
    {PinChangePolicy::So, "so"},
    {PinChangePolicy::User, "user"},
    {PinChangePolicy::Both, "both"},
}};
} // namespace

std::optional<std::string> toString(PinChangePolicy value)
{
    return textOf(texts, value);
}

template <>
std::optional<PinChangePolicy> toEnum<PinChangePolicy>(const std::string& text)
{
    return valueOf(texts, text);
}

std::ostream& operator<<(std::ostream& out, PinChangePolicy value)
{
    return writeEnumText(out, value);
}

std::istream& operator>>(std::istream& in, PinChangePolicy& value)
{
    return readEnumText(in, value);
}
