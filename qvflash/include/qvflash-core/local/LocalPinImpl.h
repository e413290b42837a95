#pragma once

#include <qvflash-core/local/LocalPin.h>
#include <qvflash-core/pcsc/Scard.h>

namespace qvfl {

// One local PIN file of the local-login directory; a short-lived handle.
class LocalPinImpl : public LocalPin {
public:
    static std::shared_ptr<LocalPinImpl> wrapLocalPin(std::shared_ptr<Scard> scard, unsigned short id);

    LocalPinImpl(std::shared_ptr<Scard> scard, unsigned short id);

    std::shared_ptr<Login> createLogin(std::vector<std::uint8_t> pin) override;
    std::shared_ptr<Login> createLogin(Login::NoAuthNeed_t) override;
    // No length rule here: the callers check the PIN.
    void changePin(std::vector<std::uint8_t> newPin) override;
    void unblock() override;
    unsigned short getId() override;

    void selectLocalPin() const;

private:
    std::shared_ptr<Scard> scard;
    std::uint16_t id;
};

} // namespace qvfl
