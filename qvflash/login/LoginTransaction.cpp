#include <qvflash-core/login/LoginTransaction.h>

#include <qvflash-core/apdu/VerifyApdu.h>
#include <qvflash-core/errors/Exception.h>
#include <qvflash-core/login/LoginImpl.h>
#include <qvflash-core/pcsc/ScardLocker.h>

namespace qvfl {

LoginTransaction::LoginTransaction(const std::shared_ptr<Scard>& scard, std::vector<std::shared_ptr<Login>>& logins)
    : scard(scard)
{
    auto it = logins.begin();
    while (it != logins.end()) {
        tryLogin(logins, it);
    }
}

LoginTransaction::~LoginTransaction()
{
    try {
        internalLogout();
    } catch (...) {
        // The card is gone or unreachable: it holds no rights for anyone then.
    }
}

void LoginTransaction::tryLogin(std::vector<std::shared_ptr<Login>>& logins,
                                std::vector<std::shared_ptr<Login>>::iterator& it)
{
    try {
        LoginImpl::of(*it).login(scard);
        ++it;
    } catch (const Exception& error) {
        if (error.code() == QVFLASH_ST_INCORRECT_LOGIN) {
            // Changed or blocked behind our back: forget it, keep the others.
            it = logins.erase(it);
            return;
        }
        internalLogout();
        throw;
    } catch (...) {
        internalLogout();
        throw;
    }
}

void LoginTransaction::internalLogout()
{
    const ScardLocker lock(scard);
    scard->transmit(ApduCommand::ResetAccessRights());
}

} // namespace qvfl
