#pragma once

#include <qvflash-core/login/LoginImpl.h>

#include <string>

namespace qvfl {

// The token's user PIN.
class UserPin : public LoginImpl {
public:
    // Status 100021 for a PIN of 0 or more than 249 bytes.
    explicit UserPin(const std::string& pin);
    explicit UserPin(NoAuthNeed_t);

    std::uint8_t type() const override;
    Apdu getLoginCommand() const override;
    qvflash_StatusCode getIncorrectLoginStatus() const override;
    Apdu getRemainingAttemptsCommand() const override;
};

} // namespace qvfl
