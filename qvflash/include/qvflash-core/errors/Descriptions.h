#pragma once

#include <qvflash.h>

#include <string_view>

namespace qvfl {

// English texts of the status and condition codes. A code without a text
// yields an empty view whose data() is null; every text is NUL-terminated in
// storage, so data() can be handed out as a C string.
std::string_view getStatusDescription(qvflash_StatusCode code);
std::string_view getConditionDescription(qvflash_ConditionCode code);

} // namespace qvfl
