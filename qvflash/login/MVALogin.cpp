#include <qvflash-core/login/MVALogin.h>

#include <qvflash-core/apdu/VerifyApdu.h>
#include <qvflash-core/apdu/localReference.h>

namespace qvfl {

MVALogin::MVALogin(std::vector<std::uint8_t> record, unsigned short id) : LoginImpl(id, takeSecret(record)) {}

MVALogin::MVALogin(unsigned short id, NoAuthNeed_t) : LoginImpl(id, {}) {}

std::uint8_t MVALogin::type() const
{
    return kLocalLoginType;
}

Apdu MVALogin::getLoginCommand() const
{
    return presentSecret<ApduCommand::LCHVRSFLogin>(localReference(getId()));
}

qvflash_StatusCode MVALogin::getIncorrectLoginStatus() const
{
    return QVFLASH_ST_RECORD_MISMATCH;
}

Apdu MVALogin::getRemainingAttemptsCommand() const
{
    return ApduCommand::LCHVRSFLogin(localReference(getId()), {});
}

} // namespace qvfl
