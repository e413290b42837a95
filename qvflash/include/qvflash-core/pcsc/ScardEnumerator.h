#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <memory>
#include <vector>

namespace qvfl {

// Finds the present cards of the product family.
class ScardEnumerator {
public:
    virtual ~ScardEnumerator() = default;
    // Connected cards, in reader order.
    virtual std::vector<std::shared_ptr<Scard>> enumScards() = 0;
};

} // namespace qvfl
