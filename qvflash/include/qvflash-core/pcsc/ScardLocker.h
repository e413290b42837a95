#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <memory>

namespace qvfl {

// Holds a card transaction for its lifetime, so that a sequence of commands
// (select then read, login then operation) is not interleaved with other
// applications. Keeps the card alive as long as it lives.
class ScardLocker {
public:
    explicit ScardLocker(std::shared_ptr<Scard> scard);
    ~ScardLocker();
    // One lock, one unlock: a copy would unlock twice.
    ScardLocker(const ScardLocker&) = delete;
    ScardLocker& operator=(const ScardLocker&) = delete;

private:
    std::shared_ptr<Scard> scard;
};

} // namespace qvfl
