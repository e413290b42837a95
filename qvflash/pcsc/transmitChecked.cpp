#include <qvflash-core/pcsc/transmitChecked.h>

#include <qvflash-core/errors/ApduException.h>

namespace qvfl {

std::vector<std::uint8_t> transmitChecked(Scard& scard, const Apdu& apdu)
{
    Scard::Response response = scard.transmit(apdu);
    if (response.first != kStatusSuccess) {
        throw ApduException(response.first);
    }
    return std::move(response.second);
}

} // namespace qvfl
