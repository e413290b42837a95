#pragma once

#include <qvflash-core/login/Login.h>
#include <qvflash-core/login/locked_allocator.h>
#include <qvflash-core/pcsc/Scard.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qvfl {

// A credential with its secret in locked memory.
class LoginImpl : public Login {
public:
    using Secret = std::vector<std::uint8_t, locked_allocator<std::uint8_t>>;

    // The credential behind a login handle; status 100021 for an empty
    // handle (or one of a foreign kind).
    static LoginImpl& of(const std::shared_ptr<Login>& login);

    std::uint16_t getId() const override;

    // Presents the secret. A rejection throws getIncorrectLoginStatus() with
    // the remaining attempts and the card's status word.
    void login(const std::shared_ptr<Scard>& scard);
    // Asks without presenting the secret, so no attempt is spent.
    std::uint16_t getRemainigLoginAtempts(const std::shared_ptr<Scard>& scard);

protected:
    LoginImpl(std::uint16_t id, Secret secret);

    // The command Command(p2, secret). The secret passes through ordinary
    // memory only inside the command, and the temporary copy is wiped.
    template <typename Command>
    Command presentSecret(std::uint8_t p2) const;

private:
    std::uint16_t id;
    Secret secret;
};

// Copies bytes held in ordinary memory into locked memory and wipes the
// original.
LoginImpl::Secret takeSecret(std::vector<std::uint8_t>& bytes);

} // namespace qvfl

#include <qvflash-core/utils/wipeBytes.h>

namespace qvfl {

template <typename Command>
Command LoginImpl::presentSecret(std::uint8_t p2) const
{
    std::vector<std::uint8_t> bytes(secret.begin(), secret.end());
    const ScopedWipe wipe(bytes);
    return Command(p2, bytes);
}

} // namespace qvfl
