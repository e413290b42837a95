#include "LocalPinRules.h"

#include "PinRules.h"

#include <algorithm>

namespace qvstandin {

using qvtoken::TokenState;

namespace {

constexpr std::size_t maxLocalPins = 8;
constexpr CK_ULONG localPinTries = 10;

std::size_t localPinCount(const TokenState& token)
{
    return static_cast<std::size_t>(std::count_if(token.directory.begin(), token.directory.end(), [](const auto& e) {
        return std::holds_alternative<qvtoken::LocalPin>(e);
    }));
}

bool idTaken(const TokenState& token, CK_ULONG id)
{
    return std::any_of(token.directory.begin(), token.directory.end(),
                       [id](const auto& e) { return qvtoken::entryId(e) == id; });
}

CK_RV changeExisting(qvtoken::LocalPin& local, const CK_UTF8CHAR* authPin, CK_ULONG authLength,
                     const CK_UTF8CHAR* newPin, CK_ULONG newLength)
{
    if (const CK_RV rv = authenticate(local.pin, authPin, authLength); rv != CKR_OK)
        return rv;
    if (!local.pin.lengthFits(newLength))
        return CKR_PIN_LEN_RANGE;
    local.pin.set(newPin, newLength);
    local.pin.unblock();
    return CKR_OK;
}

} // namespace

CK_RV setLocalPin(TokenState& token, const CK_UTF8CHAR* authPin, CK_ULONG authLength, const CK_UTF8CHAR* newPin,
                  CK_ULONG newLength, CK_ULONG id)
{
    if (id < qvtoken::firstLocalId || id > qvtoken::lastLocalId)
        return CKR_ARGUMENTS_BAD;
    if (newPin == nullptr && newLength != 0)
        return CKR_ARGUMENTS_BAD;
    if (auto* local = token.findLocalPin(id); local != nullptr && !local->unset)
        return changeExisting(*local, authPin, authLength, newPin, newLength);
    if (const CK_RV rv = authenticate(token.userPin, authPin, authLength); rv != CKR_OK)
        return rv;
    if (newLength < token.userPin.minLength || newLength > token.userPin.maxLength)
        return CKR_PIN_LEN_RANGE;
    if (auto* unset = token.findLocalPin(id)) {
        unset->pin.set(newPin, newLength);
        unset->unset = false;
        return CKR_OK;
    }
    if (idTaken(token, id) || localPinCount(token) >= maxLocalPins)
        return CKR_ARGUMENTS_BAD;
    qvtoken::LocalPin local;
    local.id = id;
    local.pin.set(newPin, newLength);
    local.pin.minLength = token.userPin.minLength;
    local.pin.maxLength = token.userPin.maxLength;
    local.pin.maxTries = local.pin.triesLeft = localPinTries;
    token.directory.push_back(std::move(local));
    return CKR_OK;
}

CK_RV localPinInfo(const TokenState& token, LocalPinInfo& info)
{
    const auto* local = token.findLocalPin(info.id);
    if (local == nullptr || local->unset)
        return CKR_DEVICE_ERROR;
    info.minPinLen = local->pin.minLength;
    info.maxPinLen = local->pin.maxLength;
    info.maxRetry = local->pin.maxTries;
    info.retriesLeft = local->pin.triesLeft;
    info.reserved = 0;
    return CKR_OK;
}

} // namespace qvstandin
