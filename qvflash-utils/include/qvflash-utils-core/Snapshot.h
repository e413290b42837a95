#pragma once

#include <qvflash-utils-core/IHwParamsGetter.h>

#include <string>
#include <vector>

namespace qvfl_utils {

// The PC snapshot text: "D:" and the drive serials, "|P:" and the processor
// names, each list normalised, sorted and joined by ";".
class Snapshot {
public:
    // Throws Exception with status 5 (no drive) or 4 (no processor); the
    // processors are not asked for when there is no drive.
    static std::string compute(const IHwParamsGetter& getter);
};

namespace detail {
// Each item reduced to its ASCII letters and digits in lower case, sorted
// bytewise, joined by ";" (empty items add nothing).
std::string toParamsString(const std::vector<std::string>& items);
} // namespace detail

} // namespace qvfl_utils
