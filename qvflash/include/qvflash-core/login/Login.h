#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <qvflash.h>

#include <cstdint>
#include <memory>
#include <string>

namespace qvfl {

// One credential of a token: the admin PIN, the user PIN, a local PIN or an
// MVA record, with the commands that present it and ask for its attempts.
class Login {
public:
    // Builds a credential without its secret: it can only ask for the
    // remaining attempts.
    struct NoAuthNeed_t {};

    virtual ~Login() = default;

    // 1 admin, 2 user, 4 local PIN or MVA object.
    virtual std::uint8_t type() const = 0;
    virtual std::uint16_t getId() const = 0;
    virtual Apdu getLoginCommand() const = 0;
    // The status of a secret the card rejects.
    virtual qvflash_StatusCode getIncorrectLoginStatus() const = 0;
    virtual Apdu getRemainingAttemptsCommand() const = 0;

    // Throw status 100021 for a PIN of 0 or more than 249 bytes. The PIN
    // text given is wiped once its bytes are copied.
    static std::shared_ptr<Login> createUserLogin(std::string pin);
    static std::shared_ptr<Login> createAdminLogin(std::string pin);
    static std::shared_ptr<Login> createUserLogin(NoAuthNeed_t);
    static std::shared_ptr<Login> createAdminLogin(NoAuthNeed_t);
};

} // namespace qvfl
