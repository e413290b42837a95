#pragma once

#include <qvflash-utils-core/IHwParamsGetter.h>
#include <qvflash-utils.h>

namespace qvfl_utils {

// A record holding a new copy of the getter's snapshot text. A text longer
// than the 8-bit length can say is refused (status 1).
qvfl_utils_PcSnapshot createPcSnapshot(const IHwParamsGetter& getter);

// Frees the text, if any, and leaves the record empty.
void destroyPcSnapshot(qvfl_utils_PcSnapshot& snapshot);

} // namespace qvfl_utils
