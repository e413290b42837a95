#include "token/hardwareFeatures.h"

#include "cli/DomainError.h"
#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Template.h"

using namespace quorvik::pkcs11;

namespace {
Template featureSearch(HwFeatureType feature)
{
    Template criteria;
    criteria.emplaceAttributes(AttributeOf<AttributeType::Class>(ObjectClass::HwFeature),
                               AttributeOf<AttributeType::HwFeatureType>(feature));
    return criteria;
}

std::optional<Object> findSingle(Session& session, Template& criteria)
{
    auto found = session.findObjects(criteria);
    if (found.size() != 1) {
        return std::nullopt;
    }
    return found.front();
}
} // namespace

std::optional<Object> findTokenInfoFeature(Session& session)
{
    auto criteria = featureSearch(HwFeatureType::TokenInfo);
    return findSingle(session, criteria);
}

std::optional<Object> findTouchInterfaceFeature(Session& session)
{
    auto criteria = featureSearch(HwFeatureType::TouchInterface);
    return findSingle(session, criteria);
}

Object findUserPinPolicyFeature(Session& session)
{
    auto criteria = featureSearch(HwFeatureType::PinPolicy);
    criteria.emplaceAttributes(AttributeOf<AttributeType::VendorPinPolicyUserType>(UserType::User));
    if (auto policy = findSingle(session, criteria)) {
        return *policy;
    }
    throw NoPinPolicyError();
}
