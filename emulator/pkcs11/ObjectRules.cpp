#include "ObjectRules.h"

#include <qvtoken-core/FeatureObjects.h>

#include <cstring>

namespace qvstandin {

namespace f = qvtoken::feature;

namespace {

constexpr CK_ULONG maxHistoryDepth = 10;
constexpr CK_ULONG maxTouchSeconds = 3600;

bool sameValue(const qvtoken::Attribute& attribute, const CK_ATTRIBUTE& wanted)
{
    if (attribute.value.size() != wanted.ulValueLen)
        return false;
    return wanted.ulValueLen == 0 ||
           (wanted.pValue != nullptr && std::memcmp(attribute.value.data(), wanted.pValue, wanted.ulValueLen) == 0);
}

bool readOnly(CK_ATTRIBUTE_TYPE type)
{
    return type == f::classAttribute || type == f::typeAttribute || type == f::policyUserType || type == f::modelName;
}

bool isBool(CK_ATTRIBUTE_TYPE type)
{
    return type == f::modifiable || type == f::removeOnFormat ||
           (type >= f::defaultPinAllowed && type <= f::diffCharsRequired);
}

bool isTouchValue(CK_ATTRIBUTE_TYPE type)
{
    return type == f::touchMode || type == f::presenceTimeLimit || type == f::actionTimeout;
}

CK_RV checkValue(const qvtoken::TokenState& token, const qvtoken::Attribute& current, const CK_ATTRIBUTE& a)
{
    if (a.pValue == nullptr && a.ulValueLen != 0)
        return CKR_ARGUMENTS_BAD;
    const auto* bytes = static_cast<const unsigned char*>(a.pValue);
    if (isBool(a.type) || a.type == f::minLength || a.type == f::historyDepth) {
        if (a.ulValueLen != 1)
            return CKR_ATTRIBUTE_VALUE_INVALID;
        if (isBool(a.type) && bytes[0] > 1)
            return CKR_ATTRIBUTE_VALUE_INVALID;
        if (a.type == f::minLength && bytes[0] > token.userPin.maxLength)
            return CKR_ATTRIBUTE_VALUE_INVALID;
        if (a.type == f::historyDepth && bytes[0] > maxHistoryDepth)
            return CKR_ATTRIBUTE_VALUE_INVALID;
        return CKR_OK;
    }
    if (isTouchValue(a.type)) {
        CK_ULONG value = 0;
        if (a.ulValueLen != sizeof value)
            return CKR_ATTRIBUTE_VALUE_INVALID;
        std::memcpy(&value, bytes, sizeof value);
        if (a.type == f::touchMode ? value > 1 : value > maxTouchSeconds)
            return CKR_ATTRIBUTE_VALUE_INVALID;
        return CKR_OK;
    }
    return a.ulValueLen == current.value.size() ? CKR_OK : CKR_ATTRIBUTE_VALUE_INVALID;
}

} // namespace

bool matchesTemplate(const qvtoken::FeatureObject& object, const CK_ATTRIBUTE* templ, CK_ULONG count)
{
    for (CK_ULONG i = 0; i < count; ++i) {
        const auto* attribute = object.find(templ[i].type);
        if (attribute == nullptr || !sameValue(*attribute, templ[i]))
            return false;
    }
    return true;
}

CK_RV getAttributes(const qvtoken::FeatureObject& object, CK_ATTRIBUTE* templ, CK_ULONG count)
{
    bool missing = false;
    bool tooSmall = false;
    for (CK_ULONG i = 0; i < count; ++i) {
        CK_ATTRIBUTE& a = templ[i];
        const auto* attribute = object.find(a.type);
        if (attribute == nullptr) {
            a.ulValueLen = CK_UNAVAILABLE_INFORMATION;
            missing = true;
        } else if (a.pValue == nullptr) {
            a.ulValueLen = attribute->value.size();
        } else if (a.ulValueLen < attribute->value.size()) {
            a.ulValueLen = CK_UNAVAILABLE_INFORMATION;
            tooSmall = true;
        } else {
            if (!attribute->value.empty())
                std::memcpy(a.pValue, attribute->value.data(), attribute->value.size());
            a.ulValueLen = attribute->value.size();
        }
    }
    if (missing)
        return CKR_ATTRIBUTE_TYPE_INVALID;
    return tooSmall ? CKR_BUFFER_TOO_SMALL : CKR_OK;
}

CK_RV setAttributes(const qvtoken::TokenState& token, qvtoken::FeatureObject& object, const CK_ATTRIBUTE* templ,
                    CK_ULONG count)
{
    if (templ == nullptr && count != 0)
        return CKR_ARGUMENTS_BAD;
    for (CK_ULONG i = 0; i < count; ++i) {
        const auto* current = object.find(templ[i].type);
        if (current == nullptr)
            return CKR_ATTRIBUTE_TYPE_INVALID;
        if (readOnly(templ[i].type))
            return CKR_ATTRIBUTE_READ_ONLY;
        if (const CK_RV rv = checkValue(token, *current, templ[i]); rv != CKR_OK)
            return rv;
    }
    if (token.switches.enforcePolicyModifiable && qvtoken::isFeature(object, CKH_QV_PIN_POLICY)) {
        const auto* modifiable = object.find(f::modifiable);
        if (modifiable != nullptr && modifiable->value == qvtoken::boolValue(false))
            return CKR_ACTION_PROHIBITED;
    }
    for (CK_ULONG i = 0; i < count; ++i) {
        const auto* bytes = static_cast<const unsigned char*>(templ[i].pValue);
        object.find(templ[i].type)->value.assign(bytes, bytes + templ[i].ulValueLen);
    }
    return CKR_OK;
}

} // namespace qvstandin
