#pragma once

#include "pin/PinManager.h"
#include "pin/PinParamsDto.h"

#include <boost/program_options/variables_map.hpp>

#include <vector>

// Builds and prepares the managers of a command's PIN roles in the order given (console PINs
// are typed here, before any token is touched), then refuses a PIN file that no generated PIN
// would fill.
std::vector<PinManager> preparePinManagers(const boost::program_options::variables_map& vm,
                                           const std::vector<const pin_options::PinParamsDto*>& roles);
