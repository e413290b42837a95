#pragma once

#include "cli/TypedOptionAttributes.h"

// The required --mva-id of the commands that work on an existing MVA object.
TypedOptionAttributes<unsigned short> mvaIdAttributes();
