#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <memory>
#include <vector>

namespace qvfl {

// Finds the present cards of the product family.
class ScardEnumerator {
public:
    virtual ~ScardEnumerator() = default;
    // The cards in the readers, in reader order. A card that cannot be
    // connected comes as a handle whose every use fails with that failure, so
    // that the caller decides what one unreachable card means to it.
    virtual std::vector<std::shared_ptr<Scard>> enumScards() = 0;
};

} // namespace qvfl
