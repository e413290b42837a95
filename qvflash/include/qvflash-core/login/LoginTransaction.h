#pragma once

#include <qvflash-core/login/Login.h>
#include <qvflash-core/pcsc/Scard.h>

#include <memory>
#include <vector>

namespace qvfl {

// The card's access rights for one operation: presents the stored logins
// again when it starts and resets every right on the card when it ends, so no
// right outlives the operation. Live it inside the operation's card
// transaction (ScardLocker).
class LoginTransaction {
public:
    // Drops from logins every entry the card no longer accepts as a PIN
    // (status 100021) and every empty one. Any other failure resets the
    // card's rights and is passed on.
    LoginTransaction(const std::shared_ptr<Scard>& scard, std::vector<std::shared_ptr<Login>>& logins);
    ~LoginTransaction();
    LoginTransaction(const LoginTransaction&) = delete;
    LoginTransaction& operator=(const LoginTransaction&) = delete;

private:
    void tryLogin(std::vector<std::shared_ptr<Login>>& logins, std::vector<std::shared_ptr<Login>>::iterator& it);
    void internalLogout();

    std::shared_ptr<Scard> scard;
};

} // namespace qvfl
