#include <qvflash-core/token/TokenEnumerator.h>

#include <qvflash-core/apdu/TokenApdu.h>
#include <qvflash-core/apdu/bigEndian.h>
#include <qvflash-core/apdu/unexpectedResponse.h>
#include <qvflash-core/errors/Exception.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>
#include <qvflash-core/token/TokenImpl.h>

#include <exception>

namespace qvfl {
namespace {

constexpr std::size_t kSerialSize = 8;

} // namespace

TokenEnumerator::TokenEnumerator(std::shared_ptr<ScardEnumerator> enumerator) : enumerator(std::move(enumerator)) {}

std::uint64_t TokenEnumerator::getTokenSerial(const std::shared_ptr<Scard>& card)
{
    const ScardLocker lock(card);
    const std::vector<std::uint8_t> data = transmitChecked(*card, GetTokenSerial());
    if (data.size() != kSerialSize) {
        throw unexpectedResponse(kResponseLengthMismatch);
    }
    return fromBufferBe(data.begin(), data.end());
}

std::map<std::uint64_t, std::shared_ptr<Scard>> TokenEnumerator::enumTokens() const
{
    std::map<std::uint64_t, std::shared_ptr<Scard>> tokens;
    for (std::shared_ptr<Scard>& card : enumerator->enumScards()) {
        const std::uint64_t serial = getTokenSerial(card);
        tokens[serial] = std::move(card);
    }
    return tokens;
}

std::vector<std::uint64_t> TokenEnumerator::getTokenList() const
{
    std::vector<std::uint64_t> serials;
    for (const auto& token : enumTokens()) {
        serials.push_back(token.first);
    }
    return serials;
}

std::unique_ptr<Token> TokenEnumerator::createToken(std::uint64_t serial) const
{
    std::shared_ptr<Scard> found;
    std::exception_ptr firstFailure;
    for (std::shared_ptr<Scard>& card : enumerator->enumScards()) {
        try {
            if (getTokenSerial(card) == serial) {
                found = std::move(card);
            }
        } catch (const Exception&) {
            // Another token's trouble must not keep this one from being opened.
            if (!firstFailure) {
                firstFailure = std::current_exception();
            }
        }
    }
    if (found) {
        return std::make_unique<TokenImpl>(std::move(found));
    }
    // The card that failed may be the one asked for: not found is not known then.
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
    throw Exception(QVFLASH_ST_DEVICE_NOT_FOUND);
}

} // namespace qvfl
