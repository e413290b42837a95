#include <qvflash-core/token/TokenImpl.h>

#include <qvflash-core/apdu/FcpTemplates.h>
#include <qvflash-core/apdu/LocalLoginApdu.h>
#include <qvflash-core/errors/Exception.h>
#include <qvflash-core/local/LocalPinImpl.h>
#include <qvflash-core/login/LoginTransaction.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>
#include <qvflash-core/utils/wipeBytes.h>

#include <algorithm>

namespace qvfl {
namespace {

constexpr std::size_t kMinPinSize = 6;
constexpr std::size_t kMaxPinSize = 32;
constexpr unsigned kMaxAttempts = 10;
// The value of a local PIN among the exported secret types.
constexpr std::int64_t kExpectLocalPin = 2;

} // namespace

void TokenImpl::getLocalLoginFiles(const std::function<void(FileInfo&&)>& visitor) const
{
    LocalLoginDirectory(scard).walk(visitor);
}

std::uint16_t TokenImpl::getFirstFreeLocalLoginId() const
{
    return LocalLoginDirectory(scard).firstFreeId();
}

LocalSecretType TokenImpl::getLocalSecretType(std::uint16_t id) const
{
    return LocalLoginDirectory(scard).secretType(id);
}

std::shared_ptr<LocalPin> TokenImpl::getLocalPin(std::uint16_t id)
{
    if (getLocalSecretType(id) != LocalSecretType::LocalPin) {
        throw Exception(QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH,
                        {Condition(QVFLASH_COND_SECRET_ID, std::int64_t{id}),
                         Condition(QVFLASH_COND_EXPECTED_SECRET_TYPE, kExpectLocalPin)});
    }
    return LocalPinImpl::wrapLocalPin(scard, id);
}

std::shared_ptr<Login> TokenImpl::createLocalPinLogin(std::uint16_t id, std::vector<std::uint8_t> pin)
{
    const ScopedWipe wiper(pin);
    return getLocalPin(id)->createLogin(pin);
}

// Checked like a login with a PIN: a count read for an id out of range or of an MVA object
// would be another secret's.
std::shared_ptr<Login> TokenImpl::createLocalPinLogin(std::uint16_t id, Login::NoAuthNeed_t)
{
    return getLocalPin(id)->createLogin(Login::NoAuthNeed_t{});
}

std::uint16_t TokenImpl::createLocalPin(std::vector<std::uint8_t> pin, std::uint8_t attempts, CoreSecureType secureType)
{
    const ScopedWipe wiper(pin);
    if (attempts == 0 || attempts > kMaxAttempts) {
        throw Exception(QVFLASH_ST_INVALID_ATTEMPT_COUNT);
    }
    if (pin.size() < kMinPinSize || pin.size() > kMaxPinSize) {
        throw Exception(QVFLASH_ST_INVALID_PIN_SIZE);
    }
    const std::uint16_t id = getFirstFreeLocalLoginId();
    const std::vector<std::uint8_t> fcpTemplate =
        FCP::getLocalPinTemplateDataVector(id, kMaxPinSize, kMinPinSize, attempts, secureType);

    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    LocalLoginDirectory(scard).select();
    transmitChecked(*scard, ApduCreateFile(fcpTemplate));
    // The new file is the current one: its first PIN goes there.
    transmitChecked(*scard, ChangeReferenceData(pin));
    return id;
}

void TokenImpl::changeLocalPin(std::uint16_t id, std::vector<std::uint8_t> newPin)
{
    const ScopedWipe wiper(newPin);
    {
        const ScardLocker lock(scard);
        const LoginTransaction transaction(scard, logins);
        getLocalPin(id)->changePin(newPin);
    }
    // The card has taken the new PIN: nothing after this point may report the change as failed.
    // The remembered credential follows the change when the card confirms the new PIN in a
    // second transaction; when that fails, the credential is dropped rather than kept stale, and
    // an operation that needs it later fails on its own.
    const auto stored =
        std::find_if(logins.begin(), logins.end(), [id](const auto& login) { return login && login->getId() == id; });
    if (stored == logins.end()) {
        return;
    }
    logins.erase(stored);
    try {
        login({createLocalPinLogin(id, newPin)});
    } catch (const Exception&) {
    }
}

std::vector<std::uint16_t> TokenImpl::getLocalPinIdList()
{
    return LocalLoginDirectory(scard).idsOf(LocalLoginDirectory::kLocalPinDescriptor);
}

void TokenImpl::unblockLocalPin(std::uint16_t id)
{
    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    getLocalPin(id)->unblock();
}

} // namespace qvfl
