#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <exception>

namespace qvfl {

// A card in a reader that could not be connected: every use throws the
// failure met when connecting.
class FailedScard : public Scard {
public:
    explicit FailedScard(std::exception_ptr failure);

    Response transmit(const Apdu& apdu) override;
    void lock() override;
    // Never locked, so there is nothing to release.
    void unlock() override {}
    void swap(Scard& other) override;

private:
    std::exception_ptr failure;
};

} // namespace qvfl
