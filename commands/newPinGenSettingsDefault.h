#pragma once

#include "pin/PinGenSettingsElement.h"

#include <vector>

// The generation settings of a new PIN when neither the command line nor the configuration
// names any: every character set.
inline const std::vector<PinGenSettingsElement> newPinGenSettingsDefault{
    PinGenSettingsElement::CharsSet::Digits, PinGenSettingsElement::CharsSet::LowerLetters,
    PinGenSettingsElement::CharsSet::UpperLetters, PinGenSettingsElement::CharsSet::SpecChars};
