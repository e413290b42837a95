#include <qvflash-core/login/LocaLPinLogin.h>

#include <qvflash-core/apdu/VerifyApdu.h>
#include <qvflash-core/apdu/localReference.h>

namespace qvfl {

LocaLPinLogin::LocaLPinLogin(unsigned short id, std::vector<std::uint8_t> pin) : LoginImpl(id, takeSecret(pin)) {}

LocaLPinLogin::LocaLPinLogin(unsigned short id, NoAuthNeed_t) : LoginImpl(id, {}) {}

std::uint8_t LocaLPinLogin::type() const
{
    return kLocalLoginType;
}

Apdu LocaLPinLogin::getLoginCommand() const
{
    return presentSecret<ApduCommand::LCHVRSFLogin>(localReference(getId()));
}

qvflash_StatusCode LocaLPinLogin::getIncorrectLoginStatus() const
{
    return QVFLASH_ST_INCORRECT_LOGIN;
}

Apdu LocaLPinLogin::getRemainingAttemptsCommand() const
{
    return ApduCommand::LCHVRSFLogin(localReference(getId()), {});
}

} // namespace qvfl
