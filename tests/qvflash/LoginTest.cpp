#include "ScriptedScard.h"
#include "thrownException.h"

#include <qvflash-core/login/LocaLPinLogin.h>
#include <qvflash-core/login/MVALogin.h>
#include <qvflash-core/token/TokenImpl.h>

#include <gtest/gtest.h>

namespace {

using qvfl::Condition;
using qvfl::Login;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

std::vector<Condition> statusWord(std::uint16_t word)
{
    return {Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{word})};
}

std::vector<Condition> rejected(int attemptsLeft, std::uint16_t word)
{
    return {Condition(QVFLASH_COND_REMAINING_ATTEMPTS, attemptsLeft),
            Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{word})};
}

class TokenOnScript : public ::testing::Test {
protected:
    void answer(std::initializer_list<const char*> responses)
    {
        for (const char* response : responses) {
            card->answer(response);
        }
    }
    // The commands sent since the last call.
    Lines sent()
    {
        Lines lines = card->sentHex();
        card->sent.clear();
        return lines;
    }

    std::shared_ptr<ScriptedScard> card = std::make_shared<ScriptedScard>();
    qvfl::TokenImpl token{card};
};

TEST(Login, EachKindSendsItsVerify)
{
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

TEST(Login, AdminAndUserPinsHoldOneTo249Bytes)
{
    EXPECT_NO_THROW(Login::createAdminLogin(std::string(249, '1')));
    EXPECT_EQ(thrownException([] { Login::createAdminLogin(std::string(250, '1')); }).code(),
              QVFLASH_ST_INCORRECT_LOGIN);
    const qvfl::Exception empty = thrownException([] { Login::createUserLogin(""); });
    EXPECT_EQ(empty.code(), QVFLASH_ST_INCORRECT_LOGIN);
    EXPECT_TRUE(empty.conditions().empty());
}

TEST_F(TokenOnScript, RemainingAttemptsAreReadOnlyFromCounterAnswers)
{
    const auto user = Login::createUserLogin(Login::NoAuthNeed_t{});
    answer({"63 C3", "90 00"});
    EXPECT_EQ(token.getRemainigLoginAttempts(user), 3);
    EXPECT_EQ(token.getRemainigLoginAttempts(user), 0);
    EXPECT_EQ(sent(), Lines(2, "00 20 00 02 00"));

    // A refused query tells no count: each word is its own failure.
    for (const auto& [response, word, status] : std::vector<std::tuple<const char*, std::uint16_t, qvflash_StatusCode>>{
             {"69 83", 0x6983, QVFLASH_ST_OBJECT_BLOCKED},
             {"6A 88", 0x6A88, QVFLASH_ST_REFERENCE_DATA_NOT_FOUND},
             {"6A 82", 0x6A82, QVFLASH_ST_FILE_NOT_FOUND},
             {"6F 00", 0x6F00, QVFLASH_ST_INTERNAL_ERROR}}) {
        card->answer(response);
        const qvfl::Exception error = thrownException([&] { token.getRemainigLoginAttempts(user); });
        EXPECT_EQ(error.code(), status);
        EXPECT_EQ(error.conditions(), statusWord(word));
    }
    EXPECT_EQ(thrownException([&] { token.getRemainigLoginAttempts(nullptr); }).code(), QVFLASH_ST_INCORRECT_LOGIN);
}

TEST_F(TokenOnScript, ARejectedSecretReportsTheAttemptsLeft)
{
    const auto tryLogin = [&](std::shared_ptr<Login> login) {
        return thrownException([&] { token.login({std::move(login)}); });
    };

    answer({"63 C2", "63 C2", "90 00"});
    const qvfl::Exception wrongPin = tryLogin(Login::createUserLogin("0000"));
    EXPECT_EQ(wrongPin.code(), QVFLASH_ST_INCORRECT_LOGIN);
    EXPECT_EQ(wrongPin.conditions(), rejected(2, 0x63C2));
    EXPECT_EQ(sent(), (Lines{"00 20 00 02 04 30 30 30 30", "00 20 00 02 00", "80 40 00 00"}));

    answer({"63 C1", "63 C1", "90 00"});
    const qvfl::Exception wrongRecord = tryLogin(std::make_shared<qvfl::MVALogin>(Bytes{1}, 4));
    EXPECT_EQ(wrongRecord.code(), QVFLASH_ST_RECORD_MISMATCH);
    EXPECT_EQ(wrongRecord.conditions(), rejected(1, 0x63C1));
    // The last attempt spent: the query finds the object blocked.
    answer({"63 C0", "69 83", "90 00"});
    EXPECT_EQ(tryLogin(Login::createAdminLogin("1")).code(), QVFLASH_ST_OBJECT_BLOCKED);
    answer({"6A 88", "90 00"});
    EXPECT_EQ(tryLogin(std::make_shared<qvfl::LocaLPinLogin>(9, Bytes{1})).code(), QVFLASH_ST_REFERENCE_DATA_NOT_FOUND);
    answer({"90 00"});
    EXPECT_EQ(tryLogin(nullptr).code(), QVFLASH_ST_INCORRECT_LOGIN);
    EXPECT_TRUE(card->answers.empty());
}

TEST_F(TokenOnScript, StoredLoginsAreRenewedForEveryOperation)
{
    const auto admin = Login::createAdminLogin("12345678");
    const auto mva = std::make_shared<qvfl::MVALogin>(Bytes{7}, 3);
    const std::string adminVerify = "00 20 00 01 08 31 32 33 34 35 36 37 38";

    // [admin, user] with a wrong user PIN keeps the admin only.
    answer({"90 00", "63 C4", "63 C4", "90 00"});
    EXPECT_EQ(thrownException([&] {
                  token.login({admin, Login::createUserLogin("0")});
              }).code(),
              QVFLASH_ST_INCORRECT_LOGIN);
    for (const FakeScard::Sent& command : card->sent) {
        EXPECT_GT(command.lockDepth, 0);
    }
    EXPECT_EQ(card->lockDepth, 0);
    EXPECT_EQ(sent().back(), "80 40 00 00");

    answer({"90 00", "90 00", "90 00"});
    token.login({mva});
    EXPECT_EQ(sent(), (Lines{adminVerify, "00 20 00 83 01 07", "80 40 00 00"}));

    // An admin PIN changed behind the library is forgotten; the operation goes on.
    answer({"63 C9", "63 C9", "90 00", "90 00", "90 00"});
    token.unblockPin();
    EXPECT_EQ(sent(), (Lines{adminVerify, "00 20 00 01 00", "00 20 00 83 01 07", "00 2C 03 02", "80 40 00 00"}));

    // A record no longer on the card stops the operation before its command.
    answer({"63 C2", "63 C2", "90 00"});
    EXPECT_EQ(thrownException([&] { token.unblockPin(); }).code(), QVFLASH_ST_RECORD_MISMATCH);
    EXPECT_EQ(sent(), (Lines{"00 20 00 83 01 07", "00 20 00 83 00", "80 40 00 00"}));

    // After logout nothing is presented; destroying the token sends nothing.
    token.logout();
    answer({"90 00", "90 00"});
    token.unblockPin();
    EXPECT_EQ(sent(), (Lines{"00 2C 03 02", "80 40 00 00"}));
}

} // namespace
