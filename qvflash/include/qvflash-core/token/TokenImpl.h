#pragma once

#include <qvflash-core/Scard.h>
#include <qvflash-core/token/Token.h>

#include <memory>
#include <vector>

namespace qvfl {

// The token over its card handle. Operations of each area are defined in
// their own source files.
class TokenImpl : public Token {
public:
    explicit TokenImpl(std::shared_ptr<Scard> scard);
    ~TokenImpl() override;
    TokenImpl(const TokenImpl&) = delete;
    TokenImpl& operator=(const TokenImpl&) = delete;

    // Logins (TokenImplLogin.cpp).
    void login(std::vector<std::shared_ptr<Login>>&& newLogins) override;
    std::uint16_t getRemainigLoginAttempts(const std::shared_ptr<Login>& login) override;
    void logout() override;

    // Token core (TokenImpl.cpp).
    void unblockPin() override;
    bool isSupported() const override;

private:
    std::shared_ptr<Scard> scard;
    // Remembered logins, in the order the card accepted them.
    std::vector<std::shared_ptr<Login>> logins;
};

} // namespace qvfl
