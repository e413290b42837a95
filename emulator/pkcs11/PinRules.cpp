#include "PinRules.h"

#include <qvtoken-core/TokenPresets.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qvstandin {

using qvtoken::Bytes;
using qvtoken::PinCheck;
using qvtoken::TokenState;

namespace {

constexpr std::size_t historyLimit = 10;

Bytes bytesOf(const CK_UTF8CHAR* value, CK_ULONG length)
{
    return value == nullptr ? Bytes() : Bytes(value, value + length);
}

std::optional<bool> flagOf(const qvtoken::FeatureObject& object, CK_ATTRIBUTE_TYPE type)
{
    const auto* attribute = object.find(type);
    if (attribute == nullptr || attribute->value.size() != 1)
        return std::nullopt;
    return attribute->value[0] != 0;
}

std::optional<unsigned char> byteOf(const qvtoken::FeatureObject& object, CK_ATTRIBUTE_TYPE type)
{
    const auto* attribute = object.find(type);
    if (attribute == nullptr || attribute->value.size() != 1)
        return std::nullopt;
    return attribute->value[0];
}

bool breaksComposition(const qvtoken::PinPolicyValues& policy, const Bytes& pin)
{
    auto any = [&pin](auto test) { return std::any_of(pin.begin(), pin.end(), test); };
    const auto isDigit = [](unsigned char c) { return c >= '0' && c <= '9'; };
    const auto isUpper = [](unsigned char c) { return c >= 'A' && c <= 'Z'; };
    const auto isLower = [](unsigned char c) { return c >= 'a' && c <= 'z'; };
    const auto isSpecial = [&](unsigned char c) {
        return c > 0x20 && c < 0x7F && !isDigit(c) && !isUpper(c) && !isLower(c);
    };
    if (policy.digitRequired && !any(isDigit))
        return true;
    if (policy.uppercaseRequired && !any(isUpper))
        return true;
    if (policy.lowercaseRequired && !any(isLower))
        return true;
    if (policy.specCharRequired && !any(isSpecial))
        return true;
    // "Different characters": not all characters the same.
    if (policy.diffCharsRequired &&
        std::all_of(pin.begin(), pin.end(), [&pin](unsigned char c) { return c == pin.front(); }))
        return true;
    return !policy.defaultPinAllowed && pin == qvtoken::bytesOf(qvtoken::defaultUserPin);
}

bool inHistory(const TokenState& token, unsigned depth, const Bytes& pin)
{
    if (depth == 0)
        return false;
    if (pin == token.userPin.value)
        return true;
    const auto& history = token.userPinHistory;
    const auto end = history.begin() + static_cast<long>(std::min<std::size_t>(depth, history.size()));
    return std::find(history.begin(), end, pin) != end;
}

} // namespace

CK_RV authenticate(qvtoken::PinState& pin, const CK_UTF8CHAR* value, CK_ULONG length)
{
    switch (pin.verify(value, value == nullptr ? 0 : length)) {
    case PinCheck::ok:
        return CKR_OK;
    case PinCheck::locked:
        return CKR_PIN_LOCKED;
    case PinCheck::incorrect:
        break;
    }
    return CKR_PIN_INCORRECT;
}

CK_RV authenticateOwner(TokenState& token, CK_ULONG owner, const CK_UTF8CHAR* value, CK_ULONG length)
{
    if (owner == QV_OWNER_ADMIN)
        return authenticate(token.adminPin, value, length);
    if (owner == QV_OWNER_USER)
        return authenticate(token.userPin, value, length);
    auto* local = owner >= QV_OWNER_FIRST_LOCAL_PIN ? token.findLocalPin(owner) : nullptr;
    if (local == nullptr || local->unset)
        return CKR_USER_TYPE_INVALID;
    return authenticate(local->pin, value, length);
}

std::optional<qvtoken::PinPolicyValues> userPinPolicy(const TokenState& token)
{
    const qvtoken::FeatureObject* found = nullptr;
    for (const auto& object : token.objects) {
        const auto* user = object.find(qvtoken::feature::policyUserType);
        if (!qvtoken::isFeature(object, CKH_QV_PIN_POLICY) || user == nullptr || qvtoken::ulongOf(*user) != CKU_USER)
            continue;
        if (found != nullptr)
            return std::nullopt;
        found = &object;
    }
    if (found == nullptr)
        return std::nullopt;
    namespace f = qvtoken::feature;
    const auto allow = flagOf(*found, f::modifiable);
    const auto remove = flagOf(*found, f::removeOnFormat);
    const auto minLength = byteOf(*found, f::minLength);
    const auto depth = byteOf(*found, f::historyDepth);
    const auto defaults = flagOf(*found, f::defaultPinAllowed);
    const auto digit = flagOf(*found, f::digitRequired);
    const auto upper = flagOf(*found, f::uppercaseRequired);
    const auto lower = flagOf(*found, f::lowercaseRequired);
    const auto special = flagOf(*found, f::specCharRequired);
    const auto diff = flagOf(*found, f::diffCharsRequired);
    if (!allow || !remove || !minLength || !depth || !defaults || !digit || !upper || !lower || !special || !diff)
        return std::nullopt;
    return qvtoken::PinPolicyValues{*allow, *remove, *minLength, *depth,   *defaults,
                                    *digit, *upper,  *lower,     *special, *diff};
}

CK_RV setUserPin(TokenState& token, CK_ULONG requiredPolicyBit, const CK_UTF8CHAR* pin, CK_ULONG length)
{
    if ((token.pinChangeFlags & requiredPolicyBit) == 0)
        return CKR_ACTION_PROHIBITED;
    if (pin == nullptr && length != 0)
        return CKR_ARGUMENTS_BAD;
    if (!token.userPin.lengthFits(length))
        return CKR_PIN_LEN_RANGE;
    const Bytes value = bytesOf(pin, length);
    if (const auto policy = userPinPolicy(token)) {
        if (length < policy->minLength || breaksComposition(*policy, value))
            return CKR_INAPPROPRIATE_PIN;
        if (inHistory(token, policy->historyDepth, value))
            return CKR_PIN_IN_HISTORY;
    }
    token.userPinHistory.insert(token.userPinHistory.begin(), token.userPin.value);
    if (token.userPinHistory.size() > historyLimit)
        token.userPinHistory.resize(historyLimit);
    token.userPin.value = value;
    token.userPin.unblock();
    token.userPinToBeChanged = false;
    return CKR_OK;
}

CK_RV setAdminPin(TokenState& token, const CK_UTF8CHAR* pin, CK_ULONG length)
{
    if (pin == nullptr && length != 0)
        return CKR_ARGUMENTS_BAD;
    if (!token.adminPin.lengthFits(length))
        return CKR_PIN_LEN_RANGE;
    token.adminPin.value = bytesOf(pin, length);
    return CKR_OK;
}

} // namespace qvstandin
