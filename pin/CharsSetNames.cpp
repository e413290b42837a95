#include "pin/CharsSetNames.h"

#include <utility>

namespace {
using CharsSet = PinGenSettingsElement::CharsSet;

CharsSetNames makeNames(const char* lower, const char* upper, const char* digits, const char* special)
{
    CharsSetNames names;
    names.insert(CharsSetNames::value_type(CharsSet::LowerLetters, lower));
    names.insert(CharsSetNames::value_type(CharsSet::UpperLetters, upper));
    names.insert(CharsSetNames::value_type(CharsSet::Digits, digits));
    names.insert(CharsSetNames::value_type(CharsSet::SpecChars, special));
    return names;
}
} // namespace

CharsSetNames makeCharsSetStrings()
{
    return makeNames("lower-letters", "upper-letters", "digits", "spec-chars");
}

CharsSetNames makeCharsSetShortStrings()
{
    return makeNames("ll", "ul", "d", "sc");
}
