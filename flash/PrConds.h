#pragma once

#include "qvflash.h"

// Two protect conditions are the same when rule, secret id and secret type agree; the padding
// is not part of the value.
bool operator==(const qvflash_PrConds& lhs, const qvflash_PrConds& rhs);
bool operator!=(const qvflash_PrConds& lhs, const qvflash_PrConds& rhs);
