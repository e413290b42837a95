#include "qvtoken-core/PinState.h"

#include <algorithm>

namespace qvtoken {

PinCheck PinState::verify(const unsigned char* candidate, std::size_t length)
{
    if (blocked())
        return PinCheck::locked;
    const bool match = length == value.size() &&
                       (length == 0 || (candidate != nullptr && std::equal(value.begin(), value.end(), candidate)));
    if (!match) {
        --triesLeft;
        return PinCheck::incorrect;
    }
    triesLeft = maxTries;
    return PinCheck::ok;
}

void PinState::set(const unsigned char* newValue, std::size_t length)
{
    value.assign(newValue, newValue + length);
}

} // namespace qvtoken
