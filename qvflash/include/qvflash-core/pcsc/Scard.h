#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace qvfl {

// One connected card of the product family, shared by everything that talks
// to the same token.
class Scard {
public:
    // The status word (SW1 in the high byte) and the data without it.
    using Response = std::pair<std::uint16_t, std::vector<std::uint8_t>>;

    virtual ~Scard() = default;
    // One complete exchange: 61xx and 6Cxx are completed here, every other
    // status word is returned for the caller to judge.
    virtual Response transmit(const Apdu& apdu) = 0;
    // Nested card transaction; every unlock() pairs a successful lock().
    virtual void lock() = 0;
    virtual void unlock() = 0;
    // Exchanges the card connections of two objects; shared handles to
    // either object stay valid.
    virtual void swap(Scard& other) = 0;
};

} // namespace qvfl
