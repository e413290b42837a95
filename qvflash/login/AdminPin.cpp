#include <qvflash-core/login/AdminPin.h>

#include <qvflash-core/apdu/VerifyApdu.h>
#include <qvflash-core/login/pinSecret.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kType = 1;
constexpr std::uint16_t kId = 1;
constexpr std::uint8_t kReference = 0x01;

} // namespace

AdminPin::AdminPin(const std::string& pin) : LoginImpl(kId, pinSecret(pin)) {}

AdminPin::AdminPin(NoAuthNeed_t) : LoginImpl(kId, {}) {}

std::uint8_t AdminPin::type() const
{
    return kType;
}

Apdu AdminPin::getLoginCommand() const
{
    return presentSecret<ApduCommand::PinLoginAdmin>(kReference);
}

qvflash_StatusCode AdminPin::getIncorrectLoginStatus() const
{
    return QVFLASH_ST_INCORRECT_LOGIN;
}

Apdu AdminPin::getRemainingAttemptsCommand() const
{
    return ApduCommand::PinLoginAdmin(kReference, {});
}

} // namespace qvfl
