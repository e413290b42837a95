#pragma once

#include "cli/TypedOptionAttributes.h"
#include "commands/BoundedInteger.h"
#include "token/types/LocalUserId.h"

#include <cstdint>
#include <limits>

// The value of --local-id. A negative number passes the parser so that it is refused as below
// the minimum; a number beyond the 16 bits of an id is an invalid value, for it would otherwise
// name the local PIN of its low bits.
using LocalIdValue = BoundedInteger<std::numeric_limits<long long>::min(), std::numeric_limits<std::uint16_t>::max()>;

// The --local-id (-i) of the local PIN commands, required or optional.
TypedOptionAttributes<LocalIdValue> localIdAttributes(bool required);

// Throws LocalUserIdValidationError below the minimum.
LocalUserId toLocalUserId(LocalIdValue value);
