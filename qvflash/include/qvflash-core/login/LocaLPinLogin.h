#pragma once

#include <qvflash-core/login/LoginImpl.h>

#include <vector>

namespace qvfl {

// A local PIN of the local-login directory.
// Lengths are the caller's to check.
class LocaLPinLogin : public LoginImpl {
public:
    LocaLPinLogin(unsigned short id, std::vector<std::uint8_t> pin);
    LocaLPinLogin(unsigned short id, NoAuthNeed_t);

    std::uint8_t type() const override;
    Apdu getLoginCommand() const override;
    qvflash_StatusCode getIncorrectLoginStatus() const override;
    Apdu getRemainingAttemptsCommand() const override;
};

} // namespace qvfl
