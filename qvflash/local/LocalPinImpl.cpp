#include <qvflash-core/local/LocalPinImpl.h>

#include <qvflash-core/apdu/LocalLoginApdu.h>
#include <qvflash-core/local/LocalLoginDirectory.h>
#include <qvflash-core/login/LocaLPinLogin.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>
#include <qvflash-core/utils/wipeBytes.h>

namespace qvfl {

std::shared_ptr<LocalPinImpl> LocalPinImpl::wrapLocalPin(std::shared_ptr<Scard> scard, unsigned short id)
{
    return std::make_shared<LocalPinImpl>(std::move(scard), id);
}

LocalPinImpl::LocalPinImpl(std::shared_ptr<Scard> scard, unsigned short id) : scard(std::move(scard)), id(id) {}

std::shared_ptr<Login> LocalPinImpl::createLogin(std::vector<std::uint8_t> pin)
{
    return std::make_shared<LocaLPinLogin>(id, std::move(pin));
}

std::shared_ptr<Login> LocalPinImpl::createLogin(Login::NoAuthNeed_t)
{
    return std::make_shared<LocaLPinLogin>(id, Login::NoAuthNeed_t{});
}

void LocalPinImpl::selectLocalPin() const
{
    LocalLoginDirectory(scard).selectFile(id);
}

void LocalPinImpl::changePin(std::vector<std::uint8_t> newPin)
{
    const ScardLocker lock(scard);
    selectLocalPin();
    const ChangeReferenceData command(newPin);
    wipeBytes(newPin.data(), newPin.size());
    transmitChecked(*scard, command);
}

void LocalPinImpl::unblock()
{
    const ScardLocker lock(scard);
    transmitChecked(*scard, ApduCommand::UnblockLchvRsf(id));
}

unsigned short LocalPinImpl::getId()
{
    return id;
}

} // namespace qvfl
