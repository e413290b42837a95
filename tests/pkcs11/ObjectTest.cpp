#include "VirtualTokens.h"

#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Pkcs11.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenPresets.h>

namespace quorvik::pkcs11 {
namespace {

Template featureSearch(HwFeatureType feature)
{
    Template criteria;
    criteria.emplaceAttributes(AttributeOf<AttributeType::Class>(ObjectClass::HwFeature),
                               AttributeOf<AttributeType::HwFeatureType>(feature));
    return criteria;
}

template <AttributeType Type>
auto valueOf(const Template& values)
{
    return dynamic_cast<const AttributeOf<Type>&>(*values.attribute(Type)).value();
}

class ObjectTest : public VirtualTokens {
protected:
    Session openOn(const std::string& preset, const std::function<void(qvtoken::TokenState&)>& change = {})
    {
        serial_ = addToken(preset, 11, 1, change);
        module_ = std::make_unique<Pkcs11>(nullptr);
        token_ = module_->getSlotList(true).at(0)->token();
        return token_->openSession(CKF_RW_SESSION);
    }

    std::uint64_t serial_ = 0;

private:
    std::unique_ptr<Pkcs11> module_;
    std::shared_ptr<Token> token_;
};

TEST_F(ObjectTest, SearchRunsInBatches)
{
    const auto session =
        openOn("full", [](qvtoken::TokenState& token) { token.objects.assign(70, qvtoken::touchObject(0, 10, 30)); });
    auto criteria = featureSearch(HwFeatureType::TouchInterface);
    EXPECT_EQ(session.findObjects(criteria).size(), 70u);
    EXPECT_EQ(calls("C_FindObjects"), 4);
    EXPECT_EQ(calls("C_FindObjectsFinal"), 1);

    auto none = featureSearch(HwFeatureType::TokenInfo);
    EXPECT_TRUE(session.findObjects(none).empty());
    EXPECT_EQ(calls("C_FindObjects"), 5);
    EXPECT_EQ(calls("C_FindObjectsFinal"), 2);
}

TEST_F(ObjectTest, SearchIsFinishedWhenItFails)
{
    const auto session = openOn("full");
    addFault(serial_, "C_FindObjects", CKR_DEVICE_ERROR);
    auto criteria = featureSearch(HwFeatureType::TouchInterface);
    EXPECT_THROW(session.findObjects(criteria), DeviceErrorException);
    EXPECT_EQ(calls("C_FindObjectsFinal"), 1);
    // The search was finished, so a new one may start.
    EXPECT_EQ(session.findObjects(criteria).size(), 1u);
}

TEST_F(ObjectTest, PolicySearchNarrowsByUser)
{
    const auto session = openOn("full");
    auto criteria = featureSearch(HwFeatureType::PinPolicy);
    EXPECT_EQ(session.findObjects(criteria).size(), 2u);
    criteria.emplaceAttributes(AttributeOf<AttributeType::VendorPinPolicyUserType>(UserType::User));
    const auto found = session.findObjects(criteria);
    ASSERT_EQ(found.size(), 1u);

    const auto values =
        found[0].getAttributeValue({AttributeType::Modifiable, AttributeType::VendorPinRemoveOnFormat,
                                    AttributeType::VendorPinMinLength, AttributeType::VendorPinSpecialRequired});
    EXPECT_EQ(values.size(), 4u);
    EXPECT_TRUE(valueOf<AttributeType::Modifiable>(values));
    EXPECT_EQ(valueOf<AttributeType::VendorPinMinLength>(values), 6);
    EXPECT_FALSE(valueOf<AttributeType::VendorPinSpecialRequired>(values));
}

TEST_F(ObjectTest, MissingAttributesAreLeftOut)
{
    const auto session = openOn("policy-gap");
    auto criteria = featureSearch(HwFeatureType::PinPolicy);
    criteria.emplaceAttributes(AttributeOf<AttributeType::VendorPinPolicyUserType>(UserType::User));
    const auto found = session.findObjects(criteria);
    ASSERT_EQ(found.size(), 1u);
    const auto values =
        found[0].getAttributeValue({AttributeType::VendorPinSpecialRequired, AttributeType::VendorPinDigitRequired});
    EXPECT_EQ(values.size(), 1u);
    EXPECT_EQ(values.attribute(AttributeType::VendorPinSpecialRequired), nullptr);
    EXPECT_EQ(found[0].getAttributeValue({}).size(), 0u);
}

TEST_F(ObjectTest, WrongLengthFailsTheRead)
{
    const auto session = openOn("full", [](qvtoken::TokenState& token) {
        token.objects = {qvtoken::touchObject(0, 10, 30)};
        token.objects[0].find(qvtoken::feature::touchMode)->value = qvtoken::byteValue(1);
    });
    auto criteria = featureSearch(HwFeatureType::TouchInterface);
    const auto found = session.findObjects(criteria);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_THROW(found[0].getAttributeValue({AttributeType::VendorTouchMode}), WrongAttributeLengthException);
    EXPECT_EQ(found[0].getAttributeValue({AttributeType::VendorTouchActionTimeout}).size(), 1u);
}

TEST_F(ObjectTest, WriteNeedsTheAdminAndLandsOnTheToken)
{
    const auto session = openOn("full");
    auto criteria = featureSearch(HwFeatureType::TouchInterface);
    auto touch = session.findObjects(criteria).at(0);

    const auto settings = [] {
        Template values;
        values.emplaceAttributes(AttributeOf<AttributeType::VendorTouchMode>(1),
                                 AttributeOf<AttributeType::VendorTouchActionTimeout>(15),
                                 AttributeOf<AttributeType::VendorTouchPresenceTimeLimit>(5));
        return values;
    };
    EXPECT_THROW(touch.setAttributeValue(settings()), UserNotLoggedInException);
    session.login(qvtoken::defaultAdminPin, UserType::So);
    touch.setAttributeValue(settings());

    const auto values =
        touch.getAttributeValue({AttributeType::VendorTouchActionTimeout, AttributeType::VendorTouchMode,
                                 AttributeType::VendorTouchPresenceTimeLimit});
    EXPECT_EQ(valueOf<AttributeType::VendorTouchMode>(values), 1u);
    EXPECT_EQ(valueOf<AttributeType::VendorTouchPresenceTimeLimit>(values), 5u);
    EXPECT_EQ(valueOf<AttributeType::VendorTouchActionTimeout>(values), 15u);
}

} // namespace
} // namespace quorvik::pkcs11
