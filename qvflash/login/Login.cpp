#include <qvflash-core/login/Login.h>

#include <qvflash-core/login/AdminPin.h>
#include <qvflash-core/login/UserPin.h>
#include <qvflash-core/utils/wipeBytes.h>

namespace qvfl {
namespace {

// The caller's copy of the PIN goes no further than this call.
template <typename Pin>
std::shared_ptr<Login> createPinLogin(std::string& pin)
{
    const ScopedWipe wipe(pin);
    return std::make_shared<Pin>(pin);
}

} // namespace

std::shared_ptr<Login> Login::createUserLogin(std::string pin)
{
    return createPinLogin<UserPin>(pin);
}

std::shared_ptr<Login> Login::createAdminLogin(std::string pin)
{
    return createPinLogin<AdminPin>(pin);
}

std::shared_ptr<Login> Login::createUserLogin(NoAuthNeed_t noAuth)
{
    return std::make_shared<UserPin>(noAuth);
}

std::shared_ptr<Login> Login::createAdminLogin(NoAuthNeed_t noAuth)
{
    return std::make_shared<AdminPin>(noAuth);
}

} // namespace qvfl
