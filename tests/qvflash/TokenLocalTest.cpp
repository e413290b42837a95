#include "ScriptedScard.h"
#include "thrownException.h"

#include <qvflash-core/login/LocaLPinLogin.h>
#include <qvflash-core/token/TokenImpl.h>

#include <gtest/gtest.h>

#include <memory>

using qvfl::TokenImpl;

namespace {

std::vector<std::uint8_t> bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

} // namespace

TEST(TokenLocalObjects, CreationArgumentsAreCheckedBeforeAnyTraffic)
{
    auto card = std::make_shared<ScriptedScard>();
    TokenImpl token(card);
    const auto createMva = [&](unsigned count, unsigned size, unsigned attempts) {
        return thrownException([&] {
                   token.createMva(static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(size),
                                   static_cast<std::uint8_t>(attempts));
               })
            .code();
    };
    EXPECT_EQ(createMva(0, 10, 5), QVFLASH_ST_INVALID_RECORD_COUNT);
    EXPECT_EQ(createMva(255, 10, 5), QVFLASH_ST_INVALID_RECORD_COUNT);
    EXPECT_EQ(createMva(10, 250, 5), QVFLASH_ST_INVALID_RECORD_SIZE);
    EXPECT_EQ(createMva(254, 131, 10), QVFLASH_ST_INVALID_MVA_SIZE);
    EXPECT_EQ(createMva(10, 10, 0), QVFLASH_ST_INVALID_ATTEMPT_COUNT);
    EXPECT_EQ(createMva(10, 10, 11), QVFLASH_ST_INVALID_ATTEMPT_COUNT);
    // Valid arguments, but no admin login is remembered.
    EXPECT_EQ(createMva(254, 130, 10), QVFLASH_ST_INVALID_RIGHTS);
    EXPECT_EQ(thrownException([&] { token.addMvaRecord(5, bytes("host")); }).code(), QVFLASH_ST_INVALID_RIGHTS);

    const auto createPin = [&](std::size_t size, unsigned attempts) {
        return thrownException([&] {
                   token.createLocalPin(std::vector<std::uint8_t>(size, '1'), static_cast<std::uint8_t>(attempts),
                                        qvfl::CoreSecureType::LocalPin);
               })
            .code();
    };
    EXPECT_EQ(createPin(6, 0), QVFLASH_ST_INVALID_ATTEMPT_COUNT);
    EXPECT_EQ(createPin(5, 3), QVFLASH_ST_INVALID_PIN_SIZE);
    EXPECT_EQ(createPin(33, 3), QVFLASH_ST_INVALID_PIN_SIZE);
    EXPECT_TRUE(card->sent.empty());
}

TEST(TokenLocalObjects, IdentifierOfTheWrongKind)
{
    auto card = std::make_shared<ScriptedScard>();
    card->answer("62 0B 82 05 14 00 00 40 00 83 02 00 09 90 00");
    const qvfl::Exception error = thrownException([&] { TokenImpl(card).getLocalPin(9); });
    EXPECT_EQ(error.code(), QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH);
    EXPECT_EQ(error.conditions(),
              (std::vector<qvfl::Condition>{qvfl::Condition(QVFLASH_COND_SECRET_ID, std::int64_t{9}),
                                            qvfl::Condition(QVFLASH_COND_EXPECTED_SECRET_TYPE, std::int64_t{2})}));
}

TEST(TokenLocalObjects, CreatedLocalPinGetsItsFirstPinInTheSameTransaction)
{
    auto card = std::make_shared<ScriptedScard>();
    card->answer("90 00"); // the directory
    card->answer("62 08 82 02 10 00 83 02 00 03 90 00");
    card->answer("6A 82");
    TokenImpl token(card);
    EXPECT_EQ(token.createLocalPin(bytes("123456"), 3, qvfl::CoreSecureType::LocalPin), 4);
    const std::vector<std::string> sent = card->sentHex();
    ASSERT_EQ(sent.size(), 7U);
    EXPECT_EQ(sent[3], "00 A4 08 04 06 10 00 10 00 60 05 00");
    EXPECT_EQ(sent[4].substr(0, 17), "00 E0 00 00 27 62");
    EXPECT_EQ(sent[5], "00 24 01 00 0C 80 02 00 06 A6 06 31 32 33 34 35 36");
    EXPECT_EQ(sent[6], "80 40 00 00");
    for (std::size_t i = 3; i < sent.size(); ++i) {
        EXPECT_GE(card->sent[i].lockDepth, 1) << sent[i];
    }
}

TEST(TokenLocalObjects, RememberedLocalPinFollowsItsChange)
{
    auto card = std::make_shared<ScriptedScard>();
    TokenImpl token(card);
    token.login({std::make_shared<qvfl::LocaLPinLogin>(5, bytes("123456"))});
    card->sent.clear();
    card->answer("90 00");                               // VERIFY of the stored PIN
    card->answer("62 08 82 02 10 00 83 02 00 05 90 00"); // type test
    card->answer("90 00");                               // selectLocalPin
    card->answer("90 00");                               // CHANGE REFERENCE DATA
    card->answer("90 00");                               // access rights reset
    card->answer("62 08 82 02 10 00 83 02 00 05 90 00"); // type test of the new login
    token.changeLocalPin(5, bytes("654321"));
    const std::vector<std::string> sent = card->sentHex();
    EXPECT_EQ(sent.front(), "00 20 00 85 06 31 32 33 34 35 36");
    EXPECT_EQ(sent.at(sent.size() - 2), "00 20 00 85 06 36 35 34 33 32 31");

    // The next operation presents the new PIN only.
    card->sent.clear();
    card->answer("90 00");
    card->answer("62 08 82 02 10 00 83 02 00 05 90 00");
    token.unblockLocalPin(5);
    EXPECT_EQ(card->sentHex(),
              (std::vector<std::string>{"00 20 00 85 06 36 35 34 33 32 31", "00 A4 08 04 08 10 00 10 00 60 05 00 05 00",
                                        "00 2C 03 85", "80 40 00 00"}));
}
