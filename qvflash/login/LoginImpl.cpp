#include <qvflash-core/login/LoginImpl.h>

#include <qvflash-core/errors/ApduException.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kWarningNonVolatileChanged = 0x63; // 63Cx: x attempts left

bool isRejection(std::uint16_t statusWord)
{
    return (statusWord >> 8) == kWarningNonVolatileChanged;
}

// The answer to a VERIFY without data. Only a 63xx answer carries a count;
// 9000 (the secret is already verified) means none is needed. Any other word,
// 69 83 (blocked) among them, is that word's failure: a count read from it
// would be invented.
std::uint16_t getRemainingAttemptsCount(const std::shared_ptr<Scard>& scard, const Apdu& query)
{
    const std::uint16_t statusWord = scard->transmit(query).first;
    if (statusWord == kStatusSuccess) {
        return 0;
    }
    if (isRejection(statusWord)) {
        return statusWord & 0x0F;
    }
    throw ApduException(statusWord);
}

} // namespace

LoginImpl::LoginImpl(std::uint16_t id, Secret secret) : id(id), secret(std::move(secret)) {}

LoginImpl& LoginImpl::of(const std::shared_ptr<Login>& login)
{
    auto* impl = dynamic_cast<LoginImpl*>(login.get());
    if (impl == nullptr) {
        throw Exception(QVFLASH_ST_INCORRECT_LOGIN);
    }
    return *impl;
}

std::uint16_t LoginImpl::getId() const
{
    return id;
}

void LoginImpl::login(const std::shared_ptr<Scard>& scard)
{
    const ScardLocker lock(scard);
    const std::uint16_t statusWord = scard->transmit(getLoginCommand()).first;
    if (isRejection(statusWord)) {
        const qvflash_StatusCode code = getIncorrectLoginStatus();
        const std::uint16_t count = getRemainingAttemptsCount(scard, getRemainingAttemptsCommand());
        throw Exception(code, {Condition(QVFLASH_COND_REMAINING_ATTEMPTS, std::int64_t{count}),
                               Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{statusWord})});
    }
    if (statusWord != kStatusSuccess) {
        throw ApduException(statusWord);
    }
}

std::uint16_t LoginImpl::getRemainigLoginAtempts(const std::shared_ptr<Scard>& scard)
{
    const ScardLocker lock(scard);
    return getRemainingAttemptsCount(scard, getRemainingAttemptsCommand());
}

LoginImpl::Secret takeSecret(std::vector<std::uint8_t>& bytes)
{
    const ScopedWipe wipe(bytes);
    return LoginImpl::Secret(bytes.begin(), bytes.end());
}

} // namespace qvfl
