#include "VirtualTokens.h"

#include "pkcs11/Pkcs11.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

#include <qvtoken-core/TokenPresets.h>

namespace quorvik::pkcs11 {
namespace {

class SessionTest : public VirtualTokens {
protected:
    void SetUp() override
    {
        VirtualTokens::SetUp();
        serial_ = addToken("full", 11, 1);
        module_ = std::make_unique<Pkcs11>(nullptr);
        token_ = module_->getSlotList(true).at(0)->token();
    }

    Session open() { return token_->openSession(CKF_RW_SESSION); }

    std::uint64_t serial_ = 0;
    std::unique_ptr<Pkcs11> module_;
    std::shared_ptr<Token> token_;
};

TEST_F(SessionTest, WrongPinsCountDownAndBlock)
{
    const auto session = open();
    try {
        session.login("00000000", UserType::User);
        FAIL();
    } catch (const PinIncorrectException& error) {
        EXPECT_STREQ(error.what(), "PKCS11: CKR_PIN_INCORRECT");
    }
    EXPECT_EQ(token_->getTokenInfoEx().userRetriesLeft, 9u);
    for (int i = 0; i < 9; ++i)
        EXPECT_THROW(session.login("00000000", UserType::User), PinIncorrectException);
    EXPECT_THROW(session.login(qvtoken::defaultUserPin, UserType::User), PinLockedException);
    EXPECT_THROW(session.login("", UserType::So), PinIncorrectException);
    EXPECT_EQ(token_->getTokenInfoEx().soRetriesLeft, 9u);
}

TEST_F(SessionTest, ClosingTheSessionEndsTheLogin)
{
    {
        const auto session = open();
        session.login(qvtoken::defaultUserPin, UserType::User);
        session.logout();
        EXPECT_THROW(session.logout(), UserNotLoggedInException);
        session.login(qvtoken::defaultUserPin, UserType::User);
    }
    const auto session = open();
    EXPECT_THROW(session.logout(), UserNotLoggedInException);
    EXPECT_EQ(calls("C_CloseSession"), 1);
}

TEST_F(SessionTest, MovedSessionIsClosedOnce)
{
    {
        Session first = open();
        const Session second = std::move(first);
        second.login(qvtoken::defaultUserPin, UserType::User);
    }
    EXPECT_EQ(calls("C_CloseSession"), 1);
}

TEST_F(SessionTest, UserChangesOwnPin)
{
    {
        const auto session = open();
        EXPECT_THROW(session.setPIN("55667788"), UserNotLoggedInException);
        session.login(qvtoken::defaultUserPin, UserType::User);
        EXPECT_THROW(session.setPIN("123"), PinLenRangeException);
        session.setPIN("55667788");
    }
    const auto session = open();
    EXPECT_THROW(session.login(qvtoken::defaultUserPin, UserType::User), PinIncorrectException);
    EXPECT_NO_THROW(session.login("55667788", UserType::User));
}

TEST_F(SessionTest, AdminSetsAndUnblocksTheUserPin)
{
    // The admin may set the user PIN only where the token's change policy lets him (bit 0x1).
    modify(serial_, [](qvtoken::TokenState& token) {
        token.userPin.triesLeft = 0;
        token.pinChangeFlags = QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN;
    });
    const auto session = open();
    EXPECT_THROW(session.initPIN("44556677"), UserNotLoggedInException);
    EXPECT_THROW(session.unblockUserPinEx(), UserNotLoggedInException);
    session.login(qvtoken::defaultAdminPin, UserType::So);
    session.unblockUserPinEx();
    EXPECT_EQ(token_->getTokenInfoEx().userRetriesLeft, 10u);
    session.initPIN("44556677");
    session.forceChangePin(UserType::User);
    EXPECT_TRUE(load(serial_).userPinToBeChanged);
    session.logout();
    EXPECT_NO_THROW(session.login("44556677", UserType::User));
}

TEST_F(SessionTest, Label)
{
    const auto session = open();
    EXPECT_EQ(session.getLabelEx(), "Stand-in A");
    EXPECT_THROW(session.setLabelEx("New"), UserNotLoggedInException);
    session.login(qvtoken::defaultUserPin, UserType::User);
    session.setLabelEx("Label with spaces ");
    EXPECT_EQ(session.getLabelEx(), "Label with spaces ");
    session.setLabelEx("");
    EXPECT_EQ(session.getLabelEx(), "");
}

TEST_F(SessionTest, ModuleErrorsReachTheirClasses)
{
    addFault(serial_, "C_Login", CKR_INAPPROPRIATE_PIN);
    addFault(serial_, "C_Login", CKR_PIN_IN_HISTORY);
    addFault(serial_, "C_Login", 0x80000007);
    const auto session = open();
    EXPECT_THROW(session.login(qvtoken::defaultUserPin, UserType::User), InappropriatePinException);
    EXPECT_THROW(session.login(qvtoken::defaultUserPin, UserType::User), PinInHistoryException);
    try {
        session.login(qvtoken::defaultUserPin, UserType::User);
        FAIL();
    } catch (const Pkcs11Exception& error) {
        EXPECT_STREQ(error.what(), "PKCS11: unknown error 0x80000007");
        EXPECT_EQ(error.rv(), 0x80000007u);
    }
    EXPECT_NO_THROW(session.login(qvtoken::defaultUserPin, UserType::User));
}

} // namespace
} // namespace quorvik::pkcs11
