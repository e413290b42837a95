#include <qvflash-core/login/UserPin.h>

#include <qvflash-core/apdu/VerifyApdu.h>
#include <qvflash-core/login/pinSecret.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kType = 2;
constexpr std::uint16_t kId = 2;
constexpr std::uint8_t kReference = 0x02;

} // namespace

UserPin::UserPin(const std::string& pin) : LoginImpl(kId, pinSecret(pin)) {}

UserPin::UserPin(NoAuthNeed_t) : LoginImpl(kId, {}) {}

std::uint8_t UserPin::type() const
{
    return kType;
}

Apdu UserPin::getLoginCommand() const
{
    return presentSecret<ApduCommand::PinLoginUser>(kReference);
}

qvflash_StatusCode UserPin::getIncorrectLoginStatus() const
{
    return QVFLASH_ST_INCORRECT_LOGIN;
}

Apdu UserPin::getRemainingAttemptsCommand() const
{
    return ApduCommand::PinLoginUser(kReference, {});
}

} // namespace qvfl
