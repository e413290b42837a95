#include <qvflash-core/pcsc/FailedScard.h>

#include <utility>

namespace qvfl {

FailedScard::FailedScard(std::exception_ptr failure) : failure(std::move(failure)) {}

Scard::Response FailedScard::transmit(const Apdu&)
{
    std::rethrow_exception(failure);
}

void FailedScard::lock()
{
    std::rethrow_exception(failure);
}

void FailedScard::swap(Scard&)
{
    std::rethrow_exception(failure);
}

} // namespace qvfl
