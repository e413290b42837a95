#include "FakeScard.h"
#include "hexBytes.h"

#include <qvflash-core/Exception.h>
#include <qvflash-core/login/LocaLPinLogin.h>
#include <qvflash-core/login/MVALogin.h>
#include <qvflash-core/token/TokenImpl.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

using qvfl::Condition;
using qvfl::Login;
using Bytes = std::vector<std::uint8_t>;

std::int64_t word(std::uint16_t statusWord) {
    return statusWord;
}

// The status and conditions of what body throws.
std::pair<qvflash_StatusCode, std::vector<Condition>> failureOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const qvfl::Exception& error) {
        return {error.code(), error.conditions()};
    }
    ADD_FAILURE() << "nothing thrown";
    return {QVFLASH_ST_OK, {}};
}

TEST(Login, EachKindSendsItsVerify) {
    const auto admin = Login::createAdminLogin("1234");
    const auto user = Login::createUserLogin(Login::NoAuthNeed_t{});
    const qvfl::LocaLPinLogin localPin(5, Bytes{1, 2, 3});
    const qvfl::MVALogin mva(Bytes{0xAA, 0xBB}, 17);

    EXPECT_EQ(admin->getLoginCommand().toBuffer(), hexBytes("00 20 00 01 04 31 32 33 34"));
    EXPECT_EQ(admin->getRemainingAttemptsCommand().toBuffer(), hexBytes("00 20 00 01 00"));
    EXPECT_EQ(user->getRemainingAttemptsCommand().toBuffer(), hexBytes("00 20 00 02 00"));
    EXPECT_EQ(localPin.getLoginCommand().toBuffer(), hexBytes("00 20 00 85 03 01 02 03"));
    EXPECT_EQ(mva.getLoginCommand().toBuffer(), hexBytes("00 20 00 91 02 AA BB"));
    EXPECT_EQ(mva.getRemainingAttemptsCommand().toBuffer(), hexBytes("00 20 00 91 00"));

    EXPECT_EQ((std::vector<int>{admin->type(), user->type(), localPin.type(), mva.type()}),
              (std::vector<int>{1, 2, 4, 4}));
    EXPECT_EQ(admin->getId(), 1);
    EXPECT_EQ(user->getId(), 2);
    EXPECT_EQ(localPin.getIncorrectLoginStatus(), QVFLASH_ST_INCORRECT_LOGIN);
    EXPECT_EQ(mva.getIncorrectLoginStatus(), QVFLASH_ST_RECORD_MISMATCH);
}

TEST(Login, AdminAndUserPinsHoldOneTo249Bytes) {
    EXPECT_NO_THROW(Login::createAdminLogin(std::string(249, '1')));
    EXPECT_EQ(failureOf([] { Login::createAdminLogin(std::string(250, '1')); }).first,
              QVFLASH_ST_INCORRECT_LOGIN);
    EXPECT_EQ(failureOf([] { Login::createUserLogin(""); }),
              std::make_pair(QVFLASH_ST_INCORRECT_LOGIN, std::vector<Condition>{}));
}

TEST(Login, RemainingAttemptsAreReadOnlyFromCounterAnswers) {
    const auto user = Login::createUserLogin(Login::NoAuthNeed_t{});
    const auto card = std::make_shared<FakeScard>();
    qvfl::TokenImpl token(card);

    card->answers = {{0x63C3, {}}, {0x9000, {}}};
    EXPECT_EQ(token.getRemainigLoginAttempts(user), 3);
    EXPECT_EQ(token.getRemainigLoginAttempts(user), 0);
    EXPECT_EQ(card->commands(), std::vector<Bytes>(2, hexBytes("00 20 00 02 00")));

    // A refused query tells no count: each word is its own failure.
    for (const auto& [statusWord, status] :
         std::vector<std::pair<std::uint16_t, qvflash_StatusCode>>{
             {0x6983, QVFLASH_ST_OBJECT_BLOCKED},
             {0x6A88, QVFLASH_ST_REFERENCE_DATA_NOT_FOUND},
             {0x6A82, QVFLASH_ST_FILE_NOT_FOUND},
             {0x6F00, QVFLASH_ST_INTERNAL_ERROR}}) {
        card->answers = {{statusWord, {}}};
        EXPECT_EQ(failureOf([&] { token.getRemainigLoginAttempts(user); }),
                  std::make_pair(status, std::vector<Condition>{
                                             Condition(QVFLASH_COND_APDU_STATUS, word(statusWord))}));
    }
    EXPECT_EQ(failureOf([&] { token.getRemainigLoginAttempts(nullptr); }).first,
              QVFLASH_ST_INCORRECT_LOGIN);
}

TEST(Login, ARejectedSecretReportsTheAttemptsLeft) {
    const auto card = std::make_shared<FakeScard>();
    qvfl::TokenImpl token(card);
    const auto tryLogin = [&](std::shared_ptr<Login> login) {
        return failureOf([&] { token.login({std::move(login)}); });
    };

    card->answers = {{0x63C2, {}}, {0x63C2, {}}};
    EXPECT_EQ(tryLogin(Login::createUserLogin("0000")),
              std::make_pair(QVFLASH_ST_INCORRECT_LOGIN,
                             std::vector<Condition>{Condition(QVFLASH_COND_REMAINING_ATTEMPTS, 2),
                                                    Condition(QVFLASH_COND_APDU_STATUS,
                                                              word(0x63C2))}));
    EXPECT_EQ(card->commands(), (std::vector<Bytes>{hexBytes("00 20 00 02 04 30 30 30 30"),
                                                    hexBytes("00 20 00 02 00"),
                                                    hexBytes("80 40 00 00")}));

    card->answers = {{0x63C1, {}}, {0x63C1, {}}};
    EXPECT_EQ(tryLogin(std::make_shared<qvfl::MVALogin>(Bytes{1}, 4)).first,
              QVFLASH_ST_RECORD_MISMATCH);
    // The last attempt spent: the query finds the object blocked.
    card->answers = {{0x63C0, {}}, {0x6983, {}}};
    EXPECT_EQ(tryLogin(Login::createAdminLogin("1")).first, QVFLASH_ST_OBJECT_BLOCKED);
    card->answers = {{0x6A88, {}}};
    EXPECT_EQ(tryLogin(std::make_shared<qvfl::LocaLPinLogin>(9, Bytes{1})).first,
              QVFLASH_ST_REFERENCE_DATA_NOT_FOUND);
    EXPECT_EQ(tryLogin(nullptr).first, QVFLASH_ST_INCORRECT_LOGIN);
}

TEST(LoginTransaction, StoredLoginsAreRenewedForEveryOperation) {
    const auto card = std::make_shared<FakeScard>();
    qvfl::TokenImpl token(card);
    const auto admin = Login::createAdminLogin("12345678");
    const auto mva = std::make_shared<qvfl::MVALogin>(Bytes{7}, 3);

    // [admin, user] with a wrong user PIN keeps the admin only.
    card->answers = {{0x9000, {}}, {0x63C4, {}}, {0x63C4, {}}};
    EXPECT_EQ(failureOf([&] { token.login({admin, Login::createUserLogin("0")}); }).first,
              QVFLASH_ST_INCORRECT_LOGIN);
    EXPECT_EQ(card->sent.back().bytes, hexBytes("80 40 00 00"));
    for (const FakeScard::Sent& command : card->sent) {
        EXPECT_GT(command.lockDepth, 0);
    }
    EXPECT_EQ(card->lockDepth, 0);

    card->sent.clear();
    token.login({mva});
    EXPECT_EQ(card->commands(),
              (std::vector<Bytes>{hexBytes("00 20 00 01 08 31 32 33 34 35 36 37 38"),
                                  hexBytes("00 20 00 83 01 07"), hexBytes("80 40 00 00")}));

    // An admin PIN changed behind the library is forgotten; the operation goes on.
    card->sent.clear();
    card->answers = {{0x63C9, {}}, {0x63C9, {}}};
    token.unblockPin();
    EXPECT_EQ(card->commands(),
              (std::vector<Bytes>{hexBytes("00 20 00 01 08 31 32 33 34 35 36 37 38"),
                                  hexBytes("00 20 00 01 00"), hexBytes("00 20 00 83 01 07"),
                                  hexBytes("00 2C 03 02"), hexBytes("80 40 00 00")}));

    // A record no longer on the card stops the operation before its command.
    card->sent.clear();
    card->answers = {{0x63C2, {}}, {0x63C2, {}}};
    EXPECT_EQ(failureOf([&] { token.unblockPin(); }).first, QVFLASH_ST_RECORD_MISMATCH);
    EXPECT_EQ(card->commands(), (std::vector<Bytes>{hexBytes("00 20 00 83 01 07"),
                                                    hexBytes("00 20 00 83 00"),
                                                    hexBytes("80 40 00 00")}));

    // After logout nothing is presented; destroying the token sends nothing.
    card->sent.clear();
    token.logout();
    token.unblockPin();
    EXPECT_EQ(card->commands(),
              (std::vector<Bytes>{hexBytes("00 2C 03 02"), hexBytes("80 40 00 00")}));
}

} // namespace
