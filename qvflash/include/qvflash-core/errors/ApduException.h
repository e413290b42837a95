#pragma once

#include <qvflash-core/errors/Exception.h>

#include <cstdint>

namespace qvfl {

// A card's refusal: the status word (SW1 in the high byte) translated into the
// library's status code, the word itself kept as the one condition.
class ApduException : public Exception {
public:
    explicit ApduException(std::uint16_t statusWord);
};

} // namespace qvfl
