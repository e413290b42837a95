#include <qvflash-core/token/TokenImpl.h>

#include <qvflash-core/login/LoginImpl.h>
#include <qvflash-core/login/LoginTransaction.h>
#include <qvflash-core/pcsc/ScardLocker.h>

namespace qvfl {

void TokenImpl::login(std::vector<std::shared_ptr<Login>>&& newLogins)
{
    const ScardLocker lock(scard);
    // The remembered logins first: a new login must not lose the rights the
    // card already granted, and stale ones are dropped on the way.
    const LoginTransaction transaction(scard, logins);
    for (const std::shared_ptr<Login>& newLogin : newLogins) {
        LoginImpl::of(newLogin).login(scard);
        logins.push_back(newLogin);
    }
}

std::uint16_t TokenImpl::getRemainigLoginAttempts(const std::shared_ptr<Login>& login)
{
    return LoginImpl::of(login).getRemainigLoginAtempts(scard);
}

void TokenImpl::logout()
{
    while (!logins.empty()) {
        logins.pop_back();
    }
}

} // namespace qvfl
