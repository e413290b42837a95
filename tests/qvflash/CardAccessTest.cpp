// Card access through a real pcscd against virtual tokens (the `cards` fixture).
#include <qvflash-core/apdu/SelectApdu.h>
#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/pcsc/ScardContext.h>
#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>
#include <qvflash-core/pcsc/ScardLocker.h>

#include "VirtualTokens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <thread>

using qvfl::Apdu;
using qvfl::Scard;
using qvfl::ScardEnumeratorImpl;

namespace {

const Apdu kGetSerial(0x00, 0xCA, 0x01, 0x81, std::nullopt, 0x08);
const Apdu kGetExtendedInfo(0x80, 0x71, 0x00, 0x00, std::nullopt, 0x00);
const std::vector<std::uint16_t> kLocalLoginDirectory{0x1000, 0x1000, 0x6005};

std::uint64_t serialOf(Scard& card)
{
    const auto [statusWord, data] = card.transmit(kGetSerial);
    EXPECT_EQ(statusWord, 0x9000);
    std::uint64_t serial = 0;
    for (const std::uint8_t byte : data) {
        serial = (serial << 8) | byte;
    }
    return serial;
}

long countStarting(const std::vector<std::string>& lines, const std::string& prefix)
{
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// Present cards as pcscd sees them, whatever their ATR.
std::vector<qvfl::PcscString> readersWithCards()
{
    const qvfl::ScardContext context("readersWithCards");
    std::vector<qvfl::PcscString> found;
    for (const auto& reader : qvfl::listReaders(context.get())) {
        if (!qvfl::isReaderEmpty(reader, context.get())) {
            found.push_back(reader);
        }
    }
    return found;
}

bool waitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

class CardAccess : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("PCSCLITE_CSOCK_NAME") == nullptr || std::getenv("QVTOKEN_STATE_DIR") == nullptr) {
            GTEST_SKIP() << "needs virtual cards: run under scripts/with-cards";
        }
        tokens_.emplace();
    }

    // Every card gone before the next test counts cards.
    void TearDown() override
    {
        if (tokens_) {
            tokens_.reset();
            EXPECT_TRUE(waitUntil([] { return readersWithCards().empty(); }));
        }
    }

    void plug(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& customize = {})
    {
        tokens_->add(serial, customize);
    }

    void unplug(std::uint64_t serial)
    {
        tokens_->modify(serial, [](qvtoken::TokenState& token) { token.card.plugged = false; });
    }

    // The family cards, once pcscd shows `present` cards of any kind.
    std::vector<std::shared_ptr<Scard>> cardsOnceShown(std::size_t present)
    {
        EXPECT_TRUE(waitUntil([&] { return readersWithCards().size() == present; }));
        return ScardEnumeratorImpl().enumScards();
    }

    std::vector<std::string> apduLog(std::uint64_t serial)
    {
        std::ifstream in(tokens_->store().directory() / (std::to_string(serial) + ".apdu.log"));
        std::vector<std::string> lines;
        // "<time> <command> -> <response>" as "<command>-><response>", lower-case hex.
        for (std::string line; std::getline(in, line);) {
            std::string exchange;
            for (const char c : line.substr(line.find(' ') + 1)) {
                if (c != ' ') {
                    exchange.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
                }
            }
            lines.push_back(exchange);
        }
        return lines;
    }

    std::optional<qvcardtest::VirtualTokens> tokens_;
};

TEST_F(CardAccess, OnlyCardsOfTheFamilyAreListed)
{
    plug(7001);
    plug(7002, [](qvtoken::TokenState& token) { token.card.rawAtr = qvtoken::fromHex("3b85800151765343586b"); });
    const auto cards = cardsOnceShown(2);
    ASSERT_EQ(cards.size(), 1U);
    EXPECT_EQ(serialOf(*cards[0]), 7001U);
}

TEST_F(CardAccess, NestedTransactionsEndWithTheOutermostUnlock)
{
    plug(7011);
    const auto cards = cardsOnceShown(1);
    ASSERT_EQ(cards.size(), 1U);
    const auto readers = readersWithCards();
    ASSERT_EQ(readers.size(), 1U);
    qvfl::ScardImpl otherApplication(readers[0]);

    std::future<std::uint64_t> otherSerial;
    {
        const qvfl::ScardLocker outer(cards[0]);
        {
            const qvfl::ScardLocker inner(cards[0]);
            EXPECT_EQ(serialOf(*cards[0]), 7011U);
        }
        // pcscd holds another application's command until the transaction ends.
        otherSerial = std::async(std::launch::async, [&] {
            const qvfl::ScardLocker other(std::shared_ptr<Scard>(&otherApplication, [](Scard*) {}));
            return serialOf(otherApplication);
        });
        EXPECT_EQ(otherSerial.wait_for(std::chrono::milliseconds(1500)), std::future_status::timeout);
        EXPECT_EQ(serialOf(*cards[0]), 7011U);
    }
    ASSERT_EQ(otherSerial.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(otherSerial.get(), 7011U);
}

TEST_F(CardAccess, T0AnswersAreCompleted)
{
    plug(7021, [](qvtoken::TokenState& token) { token.card.protocol = "t0"; });
    const auto cards = cardsOnceShown(1);
    ASSERT_EQ(cards.size(), 1U);

    // A command with data and Le goes without its Le and comes back through 61xx.
    const auto [selectWord, fcp] = cards[0]->transmit(qvfl::ApduCommand::SelectByFullPath(kLocalLoginDirectory));
    EXPECT_EQ(selectWord, 0x9000);
    ASSERT_GE(fcp.size(), 2U);
    EXPECT_EQ(fcp[0], 0x62);
    EXPECT_EQ(fcp.size(), fcp[1] + 2U);

    // An Le of 00 for 7 bytes is corrected once through 6Cxx.
    const auto [infoWord, info] = cards[0]->transmit(kGetExtendedInfo);
    EXPECT_EQ(infoWord, 0x9000);
    EXPECT_EQ(info, (std::vector<std::uint8_t>{0x40, 0x05, 0x04, 0x03, 0x00, 0x00, 0x05}));

    const auto log = apduLog(7021);
    const std::string trace = testing::PrintToString(log);
    EXPECT_EQ(countStarting(log, "00a4080406100010006005->61"), 1) << trace;
    EXPECT_EQ(countStarting(log, "00c00000"), 1) << trace;
    EXPECT_EQ(countStarting(log, "8071000000->6c07"), 1) << trace;
    EXPECT_EQ(countStarting(log, "8071000007->40050403000005"), 1) << trace;
}

TEST_F(CardAccess, MoreDataChainsAreGathered)
{
    plug(7031, [](qvtoken::TokenState& token) { token.card.chunk = 3; });
    const auto cards = cardsOnceShown(1);
    ASSERT_EQ(cards.size(), 1U);
    const auto [statusWord, fcp] = cards[0]->transmit(qvfl::ApduCommand::SelectByFullPath(kLocalLoginDirectory));
    EXPECT_EQ(statusWord, 0x9000);
    ASSERT_GE(fcp.size(), 6U);
    EXPECT_EQ(fcp[0], 0x62);
    EXPECT_EQ(fcp.size(), fcp[1] + 2U);
    EXPECT_EQ(countStarting(apduLog(7031), "00c0000003"), static_cast<long>(fcp.size() / 3 - 1))
        << testing::PrintToString(apduLog(7031));
}

// A card that keeps announcing more data with GET RESPONSE parts that bring nothing or one
// byte ends the exchange soon, after a bounded number of rounds.
TEST_F(CardAccess, AnEndlessMoreDataChainEndsSoon)
{
    const struct {
        std::uint64_t serial;
        const char* part;
        long getResponses;
        const char* pcscCode;
    } cases[] = {{7061, "6110", 1, "0x8010001f"}, {7062, "aa6101", 256, "0x80100008"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        plug(c.serial, [&](qvtoken::TokenState& token) {
            qvtoken::CardFault first;
            first.ins = 0x71;
            first.action = "sw";
            first.argument = "6110";
            qvtoken::CardFault parts;
            parts.ins = 0xC0;
            parts.action = "reply";
            parts.argument = c.part;
            parts.count = -1;
            token.cardFaults = {first, parts};
        });
        const auto cards = cardsOnceShown(1);
        ASSERT_EQ(cards.size(), 1U);
        const auto start = std::chrono::steady_clock::now();
        try {
            cards[0]->transmit(kGetExtendedInfo);
            ADD_FAILURE() << "no exception";
        } catch (const PcscException& e) {
            EXPECT_EQ(e.conditions().at(2).detail(), qvfl::Condition::Detail(std::string(c.pcscCode)));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(countStarting(apduLog(c.serial), "00c00000"), c.getResponses);
        tokens_->removeAll();
        ASSERT_TRUE(waitUntil([] { return readersWithCards().empty(); }));
    }
}

TEST_F(CardAccess, AResetByAnotherApplicationIsSurvived)
{
    plug(7041);
    const auto cards = cardsOnceShown(1);
    ASSERT_EQ(cards.size(), 1U);
    EXPECT_EQ(serialOf(*cards[0]), 7041U);

    auto resetByAnotherApplication = [] {
        const qvfl::ScardContext context("reset");
        SCARDHANDLE handle = 0;
        DWORD protocol = 0;
        ASSERT_EQ(SCardConnect(context.get(), readersWithCards().at(0).c_str(), SCARD_SHARE_SHARED,
                               SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &handle, &protocol),
                  SCARD_S_SUCCESS);
        EXPECT_EQ(SCardReconnect(handle, SCARD_SHARE_SHARED, protocol, SCARD_RESET_CARD, &protocol), SCARD_S_SUCCESS);
        SCardDisconnect(handle, SCARD_LEAVE_CARD);
    };

    resetByAnotherApplication();
    EXPECT_EQ(serialOf(*cards[0]), 7041U);

    resetByAnotherApplication();
    {
        const qvfl::ScardLocker locker(cards[0]);
        EXPECT_EQ(serialOf(*cards[0]), 7041U);
    }
    EXPECT_EQ(countStarting(apduLog(7041), "control02"), 2) << testing::PrintToString(apduLog(7041));
}

TEST_F(CardAccess, APulledCardIsAPcscError)
{
    plug(7051);
    const auto cards = cardsOnceShown(1);
    ASSERT_EQ(cards.size(), 1U);
    unplug(7051);
    ASSERT_TRUE(waitUntil([] { return readersWithCards().empty(); }));

    try {
        cards[0]->transmit(kGetSerial);
        FAIL() << "a pulled card answered";
    } catch (const PcscException& e) {
        EXPECT_EQ(e.code(), QVFLASH_ST_PCSC_ERROR);
        ASSERT_EQ(e.conditions().size(), 3U);
        EXPECT_NE(std::get<std::string>(e.conditions()[0].detail()).find("safeTransmit"), std::string::npos);
    }
    EXPECT_THROW(qvfl::ScardLocker{cards[0]}, PcscException);
    EXPECT_TRUE(ScardEnumeratorImpl().enumScards().empty());
}

} // namespace
