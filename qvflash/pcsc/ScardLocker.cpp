#include <qvflash-core/pcsc/ScardLocker.h>

#include <utility>

namespace qvfl {

ScardLocker::ScardLocker(std::shared_ptr<Scard> scard) : scard(std::move(scard))
{
    this->scard->lock();
}

ScardLocker::~ScardLocker()
{
    try {
        scard->unlock();
    } catch (...) {
        // Ending a transaction is best effort; the card ends it on disconnect.
    }
}

} // namespace qvfl
