#include "pin/PinInputMode.h"

namespace {
const EnumTextTable<PinInputMode, 4> pinInputModeTexts{{
    {PinInputMode::Generate, "generate"},
    {PinInputMode::Options, "options"},
    {PinInputMode::Console, "console"},
    {PinInputMode::Default, "default"},
}};
} // namespace

std::optional<std::string> toString(PinInputMode mode)
{
    return textOf(pinInputModeTexts, mode);
}

template <>
std::optional<PinInputMode> toEnum<PinInputMode>(const std::string& text)
{
    return valueOf(pinInputModeTexts, text);
}

std::ostream& operator<<(std::ostream& out, PinInputMode mode)
{
    return writeEnumText(out, mode);
}

std::istream& operator>>(std::istream& in, PinInputMode& mode)
{
    return readEnumText(in, mode);
}
