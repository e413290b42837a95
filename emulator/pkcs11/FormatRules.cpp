#include "FormatRules.h"

#include "PinRules.h"

#include <qvtoken-core/FeatureObjects.h>

#include <algorithm>

namespace qvstandin {

using qvtoken::TokenState;

namespace {

constexpr CK_ULONG maxLabelLength = 32;

bool retriesValid(CK_ULONG retries)
{
    return retries >= 1 && retries <= 255;
}

CK_RV checkValues(const TokenState& token, const CK_QUORVIK_INIT_PARAM& p)
{
    const CK_ULONG policyBits = QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN | QV_TOKEN_FLAG_USER_CHANGES_USER_PIN;
    if (p.changePolicyFlags == 0 || (p.changePolicyFlags & ~policyBits) != 0)
        return CKR_ARGUMENTS_BAD;
    if (p.minSoPinLen < 1 || p.minSoPinLen > token.adminPin.maxLength)
        return CKR_ARGUMENTS_BAD;
    if (p.minUserPinLen < 1 || p.minUserPinLen > token.userPin.maxLength)
        return CKR_ARGUMENTS_BAD;
    if (!retriesValid(p.maxSoRetry) || !retriesValid(p.maxUserRetry))
        return CKR_ARGUMENTS_BAD;
    if ((p.newSoPin == nullptr && p.newSoPinLen != 0) || (p.newUserPin == nullptr && p.newUserPinLen != 0) ||
        (p.label == nullptr && p.labelLen != 0))
        return CKR_ARGUMENTS_BAD;
    if (p.newSoPinLen < p.minSoPinLen || p.newSoPinLen > token.adminPin.maxLength)
        return CKR_PIN_LEN_RANGE;
    if (p.newUserPinLen < p.minUserPinLen || p.newUserPinLen > token.userPin.maxLength)
        return CKR_PIN_LEN_RANGE;
    if (p.labelLen > maxLabelLength)
        return CKR_ARGUMENTS_BAD;
    return CKR_OK;
}

void resetPolicyObject(TokenState& token)
{
    const auto policy = userPinPolicy(token);
    if (!policy || !policy->removeOnFormat)
        return;
    for (auto& object : token.objects) {
        const auto* user = object.find(qvtoken::feature::policyUserType);
        if (qvtoken::isFeature(object, CKH_QV_PIN_POLICY) && user != nullptr && qvtoken::ulongOf(*user) == CKU_USER)
            object = qvtoken::pinPolicyObject({});
    }
}

} // namespace

CK_RV initToken(TokenState& token, const CK_UTF8CHAR* adminPin, CK_ULONG adminPinLength, const CK_QUORVIK_INIT_PARAM& p)
{
    if (p.size != QV_INIT_PARAM_SIZE)
        return CKR_ARGUMENTS_BAD;
    if (p.repair == 0) {
        const CK_RV rv = authenticate(token.adminPin, adminPin, adminPinLength);
        if (rv != CKR_OK)
            return rv;
    } else if (!token.adminPin.blocked()) {
        return CKR_FUNCTION_FAILED;
    }
    if (const CK_RV rv = checkValues(token, p); rv != CKR_OK)
        return rv;

    token.adminPin.value.assign(p.newSoPin, p.newSoPin + p.newSoPinLen);
    token.adminPin.minLength = p.minSoPinLen;
    token.adminPin.maxTries = p.maxSoRetry;
    token.adminPin.unblock();
    token.userPin.value.assign(p.newUserPin, p.newUserPin + p.newUserPinLen);
    token.userPin.minLength = p.minUserPinLen;
    token.userPin.maxTries = p.maxUserRetry;
    token.userPin.unblock();
    token.pinChangeFlags = p.changePolicyFlags;
    token.label = p.labelLen == 0 ? token.defaultLabel : std::string(p.label, p.label + p.labelLen);
    token.userPinToBeChanged = false;
    token.userPinHistory.clear();
    token.directory.erase(
        std::remove_if(token.directory.begin(), token.directory.end(),
                       [](const qvtoken::DirectoryEntry& e) { return std::holds_alternative<qvtoken::LocalPin>(e); }),
        token.directory.end());
    token.drive.temporaryStates.clear();
    resetPolicyObject(token);
    return CKR_OK;
}

} // namespace qvstandin
