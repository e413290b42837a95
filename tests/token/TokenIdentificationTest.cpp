#include "VirtualTokens.h"

#include "cli/DomainError.h"
#include "cli/internalError.h"
#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Pkcs11.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"
#include "token/hardwareFeatures.h"
#include "token/tokenIdentification.h"

#include <qvtoken-core/FeatureObjects.h>

namespace quorvik::pkcs11 {
namespace {

class TokenIdentificationTest : public VirtualTokens {
protected:
    // Each call starts over with one token in a fresh directory and a fresh trace: the module
    // reads its tokens when it is initialised.
    std::shared_ptr<Token> tokenOf(const std::string& preset,
                                   const std::function<void(qvtoken::TokenState&)>& change = {})
    {
        if (module_) {
            module_.reset();
            TearDown();
            SetUp();
        }
        addToken(preset, 21, 1, change);
        module_ = std::make_unique<Pkcs11>(nullptr);
        return module_->getSlotList(true).at(0)->token();
    }

    std::string identify(const std::string& preset, const std::function<void(qvtoken::TokenState&)>& change = {})
    {
        const auto token = tokenOf(preset, change);
        return getTokenIdentificationString(token, token->getTokenInfo(), token->getTokenInfoEx());
    }

private:
    std::unique_ptr<Pkcs11> module_;
};

TEST_F(TokenIdentificationTest, VersionsAndClassNameTheModel)
{
    EXPECT_EQ(identify("full"), "01.00.28.05 ZRN 3.0");
    EXPECT_EQ(calls("C_OpenSession"), 0);
}

TEST_F(TokenIdentificationTest, FirmwareGenerationsOfClassOne)
{
    const std::pair<unsigned, const char*> cases[] = {
        {19, "01.00.19.05 ZRN"}, {20, "01.00.20.05 ZRN 2.0"}, {27, "01.00.27.05 ZRN 2.0"}, {28, "01.00.28.05 ZRN 3.0"}};
    for (const auto& [major, expected] : cases) {
        const auto token =
            tokenOf("full", [major = major](qvtoken::TokenState& t) { t.firmwareVersion.major = major; });
        EXPECT_EQ(getTokenIdentificationString(token, token->getTokenInfo(), token->getTokenInfoEx()), expected);
    }
}

TEST_F(TokenIdentificationTest, OtherClasses)
{
    EXPECT_EQ(identify("class2"), "02.01.01.03 Mosk");
    EXPECT_THROW(identify("class3"), UnknownTokenClassError);
}

TEST_F(TokenIdentificationTest, SelfIdentifiedNameWins)
{
    EXPECT_EQ(identify("named", [](qvtoken::TokenState& t) { t.tokenClass = 3; }), "Кворвик Т2");
    EXPECT_EQ(calls("C_OpenSession"), 1);
    EXPECT_EQ(calls("C_CloseSession"), 1);
}

TEST_F(TokenIdentificationTest, NameIsLookedUpOnlyFromFeatureNumber32)
{
    EXPECT_EQ(identify("named", [](qvtoken::TokenState& t) { t.featureNumber = 31; }), "01.00.28.05 ZRN 3.0");
    EXPECT_EQ(calls("C_FindObjectsInit"), 0);
    EXPECT_EQ(identify("named", [](qvtoken::TokenState& t) { t.featureNumber = 32; }), "Кворвик Т2");
}

TEST_F(TokenIdentificationTest, NameIsNotTakenFromAnAbsentOrAmbiguousObject)
{
    const std::function<void(qvtoken::TokenState&)> changes[] = {
        [](qvtoken::TokenState& t) { t.objects.pop_back(); },
        [](qvtoken::TokenState& t) { t.objects.back().attributes.pop_back(); },
        [](qvtoken::TokenState& t) { t.objects.push_back(qvtoken::tokenInfoObject("Other")); },
    };
    for (const auto& change : changes) {
        EXPECT_EQ(identify("named", change), "01.00.28.05 ZRN 3.0");
        EXPECT_EQ(calls("C_FindObjectsInit"), 1);
    }
}

TEST_F(TokenIdentificationTest, PinPolicyLookupFindsTheUsersObject)
{
    const auto token = tokenOf("full", [](qvtoken::TokenState& t) {
        qvtoken::PinPolicyValues admin;
        admin.minLength = 9;
        t.objects = {qvtoken::pinPolicyObject(admin, 0), qvtoken::pinPolicyObject({})};
    });
    auto session = token->openSession(CKF_RW_SESSION);
    const auto values = findUserPinPolicyFeature(session).getAttributeValue({AttributeType::VendorPinMinLength});
    EXPECT_EQ(dynamic_cast<const AttributeOf<AttributeType::VendorPinMinLength>&>(
                  *values.attribute(AttributeType::VendorPinMinLength))
                  .value(),
              6);
    EXPECT_FALSE(findTokenInfoFeature(session));
    EXPECT_TRUE(findTouchInterfaceFeature(session) == std::nullopt);
}

TEST_F(TokenIdentificationTest, BareTokenHasNoPinPolicy)
{
    const auto token = tokenOf("bare");
    auto session = token->openSession(CKF_RW_SESSION);
    EXPECT_THROW(findUserPinPolicyFeature(session), NoPinPolicyError);
}

} // namespace
} // namespace quorvik::pkcs11
