// Logins, token core operations and enumeration through the real pcscd,
// against virtual tokens; the card's APDU log shows what was sent.
#include "PcscTestClient.h"
#include "VirtualTokens.h"
#include "thrownException.h"

#include <qvflash-core/login/LocaLPinLogin.h>
#include <qvflash-core/login/MVALogin.h>
#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>
#include <qvflash-core/token/TokenEnumerator.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace {

using namespace std::chrono_literals;
using qvfl::Condition;
using qvfl::Login;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kSerial = 0x0102030405060708;
constexpr char kAdminPin[] = "59302814";
constexpr char kUserPin[] = "40417263";
constexpr char kLocalPin[] = "13572468"; // local PIN 3 of every virtual token
constexpr unsigned short kMvaId = 4;
const Bytes kMvaRecord{0x48, 0x4F, 0x53, 0x54};

std::pair<qvflash_StatusCode, std::vector<Condition>> failureOf(const std::function<void()>& body)
{
    const qvfl::Exception error = thrownException(body);
    return {error.code(), error.conditions()};
}

std::vector<Condition> rejected(int attemptsLeft)
{
    return {Condition(QVFLASH_COND_REMAINING_ATTEMPTS, attemptsLeft),
            Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{0x63C0 + attemptsLeft})};
}

// A card answer chosen by the test for the next command with this INS.
qvtoken::CardFault fault(unsigned char ins, const char* action, const char* argument)
{
    qvtoken::CardFault rule;
    rule.ins = ins;
    rule.action = action;
    rule.argument = argument;
    return rule;
}

class TokenOnCards : public ::testing::Test {
protected:
    // A token with an MVA object beside the preset's local PIN.
    void plug(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& adjust = {})
    {
        tokens->add(serial, [&](qvtoken::TokenState& token) {
            qvtoken::MvaFile mva;
            mva.id = kMvaId;
            mva.recordSize = kMvaRecord.size();
            mva.maxRecords = 2;
            mva.records = {{0x01, kMvaRecord}};
            token.directory.emplace_back(mva);
            if (adjust) {
                adjust(token);
            }
        });
        ASSERT_FALSE(client.waitForToken(serial, 10s).empty());
        client.disconnect();
    }

    // The next test must not meet these cards on their way out.
    void TearDown() override
    {
        tokens.reset();
        EXPECT_TRUE(client.waitForNoCard(15s));
    }

    static qvfl::TokenEnumerator enumerator()
    {
        return qvfl::TokenEnumerator(std::make_shared<qvfl::ScardEnumeratorImpl>());
    }

    std::unique_ptr<qvfl::Token> open(std::uint64_t serial)
    {
        auto token = enumerator().createToken(serial);
        clearLog(serial);
        return token;
    }

    static std::string logPath(std::uint64_t serial)
    {
        return std::string(std::getenv("QVTOKEN_STATE_DIR")) + "/" + std::to_string(serial) + ".apdu.log";
    }

    static void clearLog(std::uint64_t serial) { std::ofstream(logPath(serial), std::ios::trunc); }

    // "command -> response" per exchange, without the time.
    static std::vector<std::string> log(std::uint64_t serial)
    {
        std::ifstream file(logPath(serial));
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(file, line)) {
            lines.push_back(line.substr(line.find(' ') + 1));
        }
        return lines;
    }

    std::unique_ptr<qvcardtest::VirtualTokens> tokens = std::make_unique<qvcardtest::VirtualTokens>();
    qvcardtest::PcscTestClient client;
};

TEST_F(TokenOnCards, EachLoginKindIsCheckedAndRemembered)
{
    plug(kSerial);
    const auto token = open(kSerial);
    const std::vector<std::pair<std::shared_ptr<Login>, std::shared_ptr<Login>>> kinds{
        {Login::createAdminLogin(kAdminPin), Login::createAdminLogin("00000000")},
        {Login::createUserLogin(kUserPin), Login::createUserLogin("00000000")},
        {std::make_shared<qvfl::LocaLPinLogin>(3, Bytes(kLocalPin, kLocalPin + 8)),
         std::make_shared<qvfl::LocaLPinLogin>(3, Bytes(8, '0'))},
        {std::make_shared<qvfl::MVALogin>(kMvaRecord, kMvaId), std::make_shared<qvfl::MVALogin>(Bytes{0x4F}, kMvaId)}};

    for (const auto& [right, wrong] : kinds) {
        SCOPED_TRACE(right->getId());
        const qvflash_StatusCode refusal = right->getIncorrectLoginStatus();
        EXPECT_EQ(failureOf([&] { token->login({wrong}); }), std::make_pair(refusal, rejected(9)));
        EXPECT_EQ(failureOf([&] { token->login({wrong}); }), std::make_pair(refusal, rejected(8)));
        EXPECT_EQ(token->getRemainigLoginAttempts(right), 8);
        token->login({right});
        EXPECT_EQ(token->getRemainigLoginAttempts(right), 10);
    }
    const auto state = tokens->load(kSerial);
    EXPECT_EQ(state.adminPin.triesLeft, 10U);
    EXPECT_EQ(state.findLocalPin(3)->pin.triesLeft, 10U);

    // Each login presented every remembered one again, and every call left the card without rights.
    const std::vector<std::string> lines = log(kSerial);
    ASSERT_GE(lines.size(), 6U);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 6, lines.end()),
              (std::vector<std::string>{
                  "00 20 00 01 08 35 39 33 30 32 38 31 34 -> 90 00", "00 20 00 02 08 34 30 34 31 37 32 36 33 -> 90 00",
                  "00 20 00 83 08 31 33 35 37 32 34 36 38 -> 90 00", "00 20 00 84 04 48 4F 53 54 -> 90 00",
                  "80 40 00 00 -> 90 00", "00 20 00 84 00 -> 63 CA"}));
}

TEST_F(TokenOnCards, ABlockedUserPinComesBackThroughTheAdmin)
{
    plug(kSerial, [](qvtoken::TokenState& token) { token.userPin.triesLeft = 1; });
    const auto token = open(kSerial);
    const auto user = Login::createUserLogin(kUserPin);

    // The last attempt spent: the follow-up query finds the PIN blocked.
    EXPECT_EQ(failureOf([&] { token->login({Login::createUserLogin("0")}); }).first, QVFLASH_ST_OBJECT_BLOCKED);
    EXPECT_EQ(failureOf([&] { token->login({user}); }),
              std::make_pair(QVFLASH_ST_OBJECT_BLOCKED,
                             std::vector<Condition>{Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{0x6983})}));
    EXPECT_EQ(failureOf([&] { token->getRemainigLoginAttempts(user); }).first, QVFLASH_ST_OBJECT_BLOCKED);

    // Only the admin may unblock.
    EXPECT_EQ(failureOf([&] { token->unblockPin(); }).first, QVFLASH_ST_INVALID_RIGHTS);
    token->login({Login::createAdminLogin(kAdminPin)});
    clearLog(kSerial);
    token->unblockPin();
    EXPECT_EQ(log(kSerial), (std::vector<std::string>{"00 20 00 01 08 35 39 33 30 32 38 31 34 -> 90 00",
                                                      "00 2C 03 02 -> 90 00", "80 40 00 00 -> 90 00"}));
    EXPECT_EQ(token->getRemainigLoginAttempts(user), 10);
    token->login({user});
}

TEST_F(TokenOnCards, ALoginTransactionRenewsTheRememberedLogins)
{
    plug(kSerial);
    const auto token = open(kSerial);
    token->login({Login::createAdminLogin(kAdminPin), Login::createUserLogin(kUserPin)});
    EXPECT_EQ(log(kSerial),
              (std::vector<std::string>{"00 20 00 01 08 35 39 33 30 32 38 31 34 -> 90 00",
                                        "00 20 00 02 08 34 30 34 31 37 32 36 33 -> 90 00", "80 40 00 00 -> 90 00"}));

    // The user PIN changed behind the library: forgotten, and the operation goes on.
    tokens->modify(kSerial, [](qvtoken::TokenState& state) { state.userPin.value = Bytes(8, '7'); });
    clearLog(kSerial);
    token->unblockPin();
    EXPECT_EQ(log(kSerial),
              (std::vector<std::string>{"00 20 00 01 08 35 39 33 30 32 38 31 34 -> 90 00",
                                        "00 20 00 02 08 34 30 34 31 37 32 36 33 -> 63 C9", "00 20 00 02 00 -> 63 C9",
                                        "00 2C 03 02 -> 90 00", "80 40 00 00 -> 90 00"}));
    clearLog(kSerial);
    token->unblockPin();
    EXPECT_EQ(log(kSerial).size(), 3U);

    // After logout nothing is presented; the card refuses the unblock.
    token->logout();
    clearLog(kSerial);
    EXPECT_EQ(failureOf([&] { token->unblockPin(); }).first, QVFLASH_ST_INVALID_RIGHTS);
    EXPECT_EQ(log(kSerial), (std::vector<std::string>{"00 2C 03 02 -> 69 82", "80 40 00 00 -> 90 00"}));
}

TEST_F(TokenOnCards, EnumerationListsTheSupportedTokensBySerial)
{
    plug(0x5000);
    plug(258);
    plug(0x7000, [](qvtoken::TokenState& token) { token.card.atrMarker = "QvSCX"; });
    EXPECT_EQ(enumerator().getTokenList(), (std::vector<std::uint64_t>{258, 0x5000}));
    EXPECT_EQ(failureOf([] { enumerator().createToken(0x7000); }).first, QVFLASH_ST_DEVICE_NOT_FOUND);
    EXPECT_TRUE(open(258)->isSupported());

    // A card that cannot tell its serial fails the whole listing.
    tokens->modify(0x5000, [](qvtoken::TokenState& token) {
        token.cardFaults.push_back(fault(0xCA, "reply", "00 00 50 00 90 00"));
    });
    EXPECT_EQ(
        failureOf([] { enumerator().getTokenList(); }),
        std::make_pair(QVFLASH_ST_UNEXPECTED_APDU_RESPONSE,
                       std::vector<Condition>{Condition(
                           QVFLASH_COND_APDU_RESPONSE, std::string("the response length didn't match the expected"))}));
    // Opening one token passes over it; a serial that no other card tells fails with its refusal.
    tokens->modify(0x5000, [](qvtoken::TokenState& token) {
        token.cardFaults.push_back(fault(0xCA, "sw", "6A 88"));
        token.cardFaults.back().count = 2;
    });
    EXPECT_TRUE(enumerator().createToken(258)->isSupported());
    EXPECT_EQ(failureOf([] { enumerator().createToken(0x6000); }).first, QVFLASH_ST_REFERENCE_DATA_NOT_FOUND);
    EXPECT_EQ(enumerator().getTokenList().size(), 2U);
}

TEST_F(TokenOnCards, CapabilitiesDecideSupport)
{
    plug(kSerial);
    const auto token = open(kSerial);
    EXPECT_TRUE(token->isSupported());
    for (const Bytes& journalOnly :
         {Bytes{0x40, 0x05, 0x04, 0x03, 0x00, 0x00, 0x01}, Bytes{0x40, 0x04, 0x04, 0x02, 0x00, 0x05},
          Bytes{0x41, 0x05, 0x04, 0x03, 0x00, 0x00, 0x05}}) {
        tokens->modify(kSerial, [&](qvtoken::TokenState& state) { state.card.extInfo = journalOnly; });
        EXPECT_FALSE(token->isSupported());
    }
    tokens->modify(kSerial, [](qvtoken::TokenState& state) { state.card.extInfo.reset(); });
    EXPECT_FALSE(token->isSupported());
    tokens->modify(kSerial, [](qvtoken::TokenState& state) { state.cardFaults.push_back(fault(0x71, "sw", "6A 86")); });
    EXPECT_EQ(failureOf([&] { token->isSupported(); }).first, QVFLASH_ST_INCORRECT_PARAMETERS);
}

TEST_F(TokenOnCards, TheJournalSectionsAreNotAvailableForFormatting)
{
    const auto withJournal = [](unsigned long size) {
        return [size](qvtoken::TokenState& state) {
            qvtoken::Section files;
            files.number = 1;
            files.size = 1000;
            qvtoken::Section journal;
            journal.number = 2;
            journal.type = 1;
            journal.size = size;
            state.drive.sections = {files, journal};
        };
    };
    plug(kSerial, withJournal(512));
    const auto token = open(kSerial);
    EXPECT_EQ(token->getSizeAvailableForFormatting(), 3584U);
    EXPECT_EQ(log(kSerial).at(0), "80 53 12 00 04 -> 00 00 10 00 90 00");

    tokens->modify(kSerial, withJournal(4096));
    EXPECT_EQ(token->getSizeAvailableForFormatting(), 0U);
    tokens->modify(kSerial, withJournal(4097));
    EXPECT_EQ(failureOf([&] { token->getSizeAvailableForFormatting(); }),
              std::make_pair(QVFLASH_ST_UNEXPECTED_APDU_RESPONSE,
                             std::vector<Condition>{Condition(QVFLASH_COND_APDU_RESPONSE,
                                                              std::string("invalid total device memory size"))}));
    tokens->modify(kSerial, [](qvtoken::TokenState& state) {
        state.cardFaults.push_back(fault(0x53, "reply", "00 10 00 90 00"));
        state.cardFaults.back().p1 = 0x12;
    });
    EXPECT_EQ(failureOf([&] { token->getSizeAvailableForFormatting(); }).second,
              (std::vector<Condition>{Condition(QVFLASH_COND_APDU_RESPONSE,
                                                std::string("the response length didn't match the expected"))}));
}

TEST_F(TokenOnCards, ATokenPulledOutAfterEnumerationFailsItsOperations)
{
    plug(kSerial);
    const auto token = open(kSerial);
    const std::string reader = client.waitForToken(kSerial, 10s);
    client.disconnect();
    tokens->modify(kSerial, [](qvtoken::TokenState& state) { state.card.plugged = false; });
    ASSERT_TRUE(client.waitForRemoval(reader, 3s));

    EXPECT_EQ(failureOf([&] { token->isSupported(); }).first, QVFLASH_ST_PCSC_ERROR);
    EXPECT_EQ(failureOf([&] { token->login({Login::createUserLogin(kUserPin)}); }).first, QVFLASH_ST_PCSC_ERROR);
    EXPECT_EQ(failureOf([] { enumerator().createToken(kSerial); }).first, QVFLASH_ST_DEVICE_NOT_FOUND);
}

} // namespace
