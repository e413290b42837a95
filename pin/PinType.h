#pragma once

#include "pin/PinBelonging.h"
#include "pin/PinRelevance.h"

// Names a PIN role in texts and messages ("new user PIN").
struct PinType {
    PinBelonging belonging;
    PinRelevance relevance;
};
