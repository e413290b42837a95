#include "token/wrapPkcsLogin.h"

#include "cli/DomainError.h"
#include "pkcs11/Pkcs11Exception.h"
#include "token/pkcsConversions.h"

#include <string>

namespace {
constexpr unsigned long kUserCode = static_cast<unsigned long>(quorvik::pkcs11::UserType::User);
constexpr unsigned long kSoCode = static_cast<unsigned long>(quorvik::pkcs11::UserType::So);
} // namespace

void wrapPkcsLogin(const std::function<void()>& login, const VolumeOwner& owner, const quorvik::pkcs11::Token& token)
{
    const unsigned long code = toPkcs(owner);
    const std::string name = toString(owner);
    try {
        login();
    } catch (const quorvik::pkcs11::PinIncorrectException&) {
        if (code == kUserCode) {
            throw WrongPinError(name, static_cast<long long>(token.getTokenInfoEx().userRetriesLeft));
        }
        if (code == kSoCode) {
            throw WrongPinError(name, static_cast<long long>(token.getTokenInfoEx().soRetriesLeft));
        }
        const auto local = token.getLocalPinInfo(code);
        if (!local) {
            throw;
        }
        throw WrongPinError(name, static_cast<long long>(local->retriesLeft));
    } catch (const quorvik::pkcs11::PinLockedException&) {
        throw PinLockedError(name);
    }
}
