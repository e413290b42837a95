#pragma once

#include <qvflash-core/login/Login.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qvfl {

// One connected flash-drive token. Operations that need rights present the
// remembered logins again inside their own card transaction and leave the
// card without rights.
class Token {
public:
    virtual ~Token() = default;

    // Verifies the given logins and remembers those the card accepts, in
    // order, up to the first one it rejects.
    virtual void login(std::vector<std::shared_ptr<Login>>&& logins) = 0;
    // Spends no attempt.
    virtual std::uint16_t getRemainigLoginAttempts(const std::shared_ptr<Login>& login) = 0;
    // Forgets the remembered logins; sends nothing.
    virtual void logout() = 0;

    // Restores the user PIN's attempts; needs the admin's right.
    virtual void unblockPin() = 0;
    // Whether the token offers both the security event journal and partitioning.
    virtual bool isSupported() const = 0;
};

} // namespace qvfl
