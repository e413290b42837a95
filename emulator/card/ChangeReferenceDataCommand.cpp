#include "ChangeReferenceDataCommand.h"

#include <algorithm>

namespace qvcard {
namespace {

constexpr std::uint8_t secureTypeAdmin = 0x01;
constexpr std::uint8_t secureTypeUser = 0x02;
constexpr std::uint8_t secureTypeSelf = 0x04;

qvtoken::LocalPin& currentLocalPin(const CardSession& session, qvtoken::TokenState& token)
{
    if (!session.currentEf) {
        throw CardRefusal(sw::noCurrentEf);
    }
    qvtoken::LocalPin* pin = token.findLocalPin(*session.currentEf);
    if (pin == nullptr) {
        throw CardRefusal(sw::fileNotFound);
    }
    return *pin;
}

// Who may set the PIN follows the file's secure type; a file created in this session accepts
// its very first value without any right, or a PIN-less file could never get one.
bool mayChange(const qvtoken::LocalPin& pin, const CardSession& session)
{
    if (pin.unset && session.createdUnset.count(pin.id) != 0) {
        return true;
    }
    switch (pin.secureType) {
    case secureTypeAdmin:
        return session.adminVerified;
    case secureTypeUser:
        return session.userVerified;
    case secureTypeSelf:
        return session.localVerified.count(pin.securityIndex) != 0;
    default:
        return false;
    }
}

} // namespace

Response changeReferenceData(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x01 || apdu.p2() != 0x00 || !apdu.hasLc() || apdu.le()) {
        throw CardRefusal(sw::badP1P2);
    }
    const Bytes& data = apdu.data();
    if (data.size() < 6 || data[0] != 0x80 || data[1] != 0x02 || data[4] != 0xA6) {
        throw CardRefusal(sw::invalidData);
    }
    const std::size_t length = static_cast<std::size_t>(data[2] << 8 | data[3]);
    if (data[5] != length || data.size() != 6 + length) {
        throw CardRefusal(sw::invalidData);
    }
    qvtoken::LocalPin& pin = currentLocalPin(session, token);
    if (!mayChange(pin, session)) {
        throw CardRefusal(sw::noRight);
    }
    if (!pin.pin.lengthFits(length)) {
        throw CardRefusal(sw::invalidData);
    }
    if (!pin.unset) {
        pin.history.insert(pin.history.begin(), pin.pin.value);
    }
    pin.pin.set(data.data() + 6, length);
    pin.pin.unblock();
    pin.unset = false;
    session.createdUnset.erase(pin.id);
    return Response{};
}

} // namespace qvcard
