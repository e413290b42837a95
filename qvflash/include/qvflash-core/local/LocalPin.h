#pragma once

#include <qvflash-core/login/Login.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qvfl {

// A local PIN: an additional PIN of the token in a file of its own.
class LocalPin {
public:
    virtual ~LocalPin() = default;

    virtual std::shared_ptr<Login> createLogin(std::vector<std::uint8_t> pin) = 0;
    virtual std::shared_ptr<Login> createLogin(Login::NoAuthNeed_t) = 0;
    virtual void changePin(std::vector<std::uint8_t> newPin) = 0;
    virtual void unblock() = 0;
    virtual unsigned short getId() = 0;
};

} // namespace qvfl
