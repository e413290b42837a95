#include <qvflash-core/login/pinSecret.h>

#include <qvflash-core/errors/Exception.h>

namespace qvfl {
namespace {

// The longest PIN that fits one VERIFY beside the card's own framing.
constexpr std::size_t kMaxPinLength = 249;

} // namespace

LoginImpl::Secret pinSecret(const std::string& pin)
{
    if (pin.empty() || pin.size() > kMaxPinLength) {
        throw Exception(QVFLASH_ST_INCORRECT_LOGIN);
    }
    return LoginImpl::Secret(pin.begin(), pin.end());
}

} // namespace qvfl
