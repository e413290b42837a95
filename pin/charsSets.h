#pragma once

#include "pin/PinGenSettingsElement.h"

#include <array>
#include <string_view>
#include <utility>

// The alphabet of each character set, in ascending set order, which is the order generation
// walks them. Characters easily mistaken for one another (0, O, o, I, l) are left out.
inline constexpr std::array<std::pair<PinGenSettingsElement::CharsSet, std::string_view>, 4> charsSets{{
    {PinGenSettingsElement::CharsSet::LowerLetters, "abcdefghijkmnpqrstuvwxyz"},
    {PinGenSettingsElement::CharsSet::UpperLetters, "ABCDEFGHJKLMNPQRSTUVWXYZ"},
    {PinGenSettingsElement::CharsSet::Digits, "123456789"},
    {PinGenSettingsElement::CharsSet::SpecChars, "!@#$%^&*"},
}};
