#pragma once

#include "pin/PinGenSettingsElement.h"

#include <cstddef>
#include <set>
#include <string>

// A PIN with at least one character of each selected set (all four when `sets` is empty), at
// least `length` characters long and never shorter than the number of sets or than 2, and never
// made of one repeated character. Safe to call from several threads at once.
std::string generatePin(std::size_t length, const std::set<PinGenSettingsElement::CharsSet>& sets);
