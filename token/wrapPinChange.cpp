#include "token/wrapPinChange.h"

#include "cli/DomainError.h"
#include "flash/QvflashException.h"
#include "pkcs11/Pkcs11Exception.h"

#include <algorithm>

namespace {

constexpr long long kWrongPinWord = 0x63C0;
constexpr long long kWrongPinWordMask = 0xFFF0;

bool refusedByModule(unsigned long rv)
{
    switch (rv) {
    case CKR_PIN_LEN_RANGE:
    case CKR_PIN_INVALID:
    case CKR_ACTION_PROHIBITED:
    case CKR_PIN_INCORRECT:
    case CKR_PIN_LOCKED:
    case CKR_USER_NOT_LOGGED_IN:
        return true;
    default:
        return false;
    }
}

bool refusedByCard(long long statusWord)
{
    switch (statusWord) {
    case 0x6700: // wrong length
    case 0x6A80: // wrong data
    case 0x6982: // security status not satisfied
    case 0x6983: // blocked
        return true;
    default:
        return (statusWord & kWrongPinWordMask) == kWrongPinWord;
    }
}

bool refusedByCard(const quorvik::qvflash::QvflashException& error)
{
    const auto conditions = error.getConditions();
    return std::any_of(conditions.begin(), conditions.end(), [](const auto& condition) {
        const auto* word = std::get_if<long long>(&condition.detail);
        return condition.getCondCode() == QVFLASH_COND_APDU_STATUS && word != nullptr && refusedByCard(*word);
    });
}

} // namespace

void wrapPinChange(const std::function<void()>& change)
{
    try {
        change();
    } catch (const quorvik::pkcs11::Pkcs11Exception& error) {
        if (!refusedByModule(error.rv())) {
            throw;
        }
        throw PinChangeRefusedError(error.what());
    } catch (const quorvik::qvflash::QvflashException& error) {
        if (!refusedByCard(error)) {
            throw;
        }
        throw PinChangeRefusedError(error.what());
    }
}
