#pragma once

#include "pin/PinGenSettingsElement.h"

#include <boost/bimap.hpp>

#include <string>

using CharsSetNames = boost::bimap<PinGenSettingsElement::CharsSet, std::string>;

CharsSetNames makeCharsSetStrings();
CharsSetNames makeCharsSetShortStrings();

// Each source file holds its own copy, so the tables are complete before any other
// static object of that file that reads them.
static const CharsSetNames charsSetStrings = makeCharsSetStrings();
static const CharsSetNames charsSetShortStrings = makeCharsSetShortStrings();

static const std::string pinGenSettingLengthString = "length";
static const std::string pinGenSettingLengthShortString = "l";
