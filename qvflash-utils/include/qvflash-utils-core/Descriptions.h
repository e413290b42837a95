#pragma once

#include <qvflash-utils.h>

#include <string_view>

namespace qvfl_utils {

// The fixed English text of a code; an empty view with a null data pointer for
// a code without one. The texts are NUL-terminated and live as long as the
// library stays loaded.
std::string_view getStatusDescription(qvfl_utils_StatusCode code);
std::string_view getConditionDescription(qvfl_utils_ConditionCode code);

} // namespace qvfl_utils
