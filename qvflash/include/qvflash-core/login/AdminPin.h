#pragma once

#include <qvflash-core/login/LoginImpl.h>

#include <string>

namespace qvfl {

// The token's admin PIN.
class AdminPin : public LoginImpl {
public:
    // Status 100021 for a PIN of 0 or more than 249 bytes.
    explicit AdminPin(const std::string& pin);
    explicit AdminPin(NoAuthNeed_t);

    std::uint8_t type() const override;
    Apdu getLoginCommand() const override;
    qvflash_StatusCode getIncorrectLoginStatus() const override;
    Apdu getRemainingAttemptsCommand() const override;
};

} // namespace qvfl
