#pragma once

#include "pin/PinManager.h"
#include "pin/PinParamsDto.h"

// The manager of a role, with the role's ways registered in the record's order.
PinManager buildPinManager(const pin_options::PinParamsDto& params);
