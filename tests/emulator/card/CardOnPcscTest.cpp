// The virtual card through the real pcscd and vpcd: what any PC/SC client sees.
#include "PcscTestClient.h"
#include "VirtualTokens.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

namespace qvcardtest {
namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t serialA = 258;
constexpr std::uint64_t serialB = 0x1234;

std::string run(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 512> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        output += buffer.data();
    }
    return output;
}

class CardOnPcsc : public ::testing::Test {
protected:
    // The cards of the test before must have left, or a new token with the same serial could
    // be found in its predecessor's slot.
    void SetUp() override
    {
        for (const auto& reader : client.readers()) {
            ASSERT_TRUE(client.waitForRemoval(reader, 5s)) << reader << " still holds a card";
        }
    }

    std::string plugged(std::uint64_t serial)
    {
        const std::string reader = client.waitForToken(serial, 10s);
        EXPECT_FALSE(reader.empty()) << "token " << serial << " never showed up";
        return reader;
    }

    VirtualTokens tokens;
    PcscTestClient client;
};

TEST_F(CardOnPcsc, ForeignClientsSeeTheTokens)
{
    tokens.add(serialA);
    tokens.add(serialB, [](auto& t) { t.card.atrMarker = "QvSC"; });
    const std::string readerA = plugged(serialA);
    const std::string readerB = plugged(serialB);
    client.disconnect();

    const std::string scan = run("timeout 4 pcsc_scan -t 2 2>&1");
    EXPECT_NE(scan.find("3B 8C 80 01 51 75 6F 72 76 69 6B 5A 52 4E 73 63 16"), std::string::npos) << scan;
    EXPECT_NE(scan.find("3B 84 80 01 51 76 53 43 32"), std::string::npos) << scan;

    const std::string script = ::testing::TempDir() + "/serial.apdu";
    std::ofstream(script) << "00 CA 01 81 08\n";
    const std::string answer = run("scriptor -r '" + readerB + "' " + script + " 2>&1");
    EXPECT_NE(answer.find("< 00 00 00 00 00 00 12 34 90 00"), std::string::npos) << answer;
}

TEST_F(CardOnPcsc, AnswersTheTokenFactsOfItsOwnToken)
{
    tokens.add(serialA);
    tokens.add(serialB, [](auto& t) { t.card.totalFlash = 0x2000; });
    plugged(serialA);
    EXPECT_EQ(client.transmitHex("80 71 00 00 00"), "40 05 04 03 00 00 05 90 00");
    EXPECT_EQ(client.transmitHex("80 53 12 00 04", 6), "00 00 10 00 90 00");
    EXPECT_EQ(client.atr(), unhex("3B 8C 80 01 51 75 6F 72 76 69 6B 5A 52 4E 73 63 16"));
    plugged(serialB);
    EXPECT_EQ(client.transmitHex("80 53 12 00 04", 6), "00 00 20 00 90 00");
}

TEST_F(CardOnPcsc, RightsAndCountersBelongToEachTokenAndLastUntilReset)
{
    tokens.add(serialA);
    tokens.add(serialB);
    PcscTestClient other;
    const std::string readerA = plugged(serialA);
    other.waitForToken(serialB, 10s);

    EXPECT_EQ(client.transmitHex("00 20 00 02 03 31 32 33"), "63 C9");
    EXPECT_EQ(client.transmitHex("00 20 00 02 00"), "63 C9");
    EXPECT_EQ(other.transmitHex("00 20 00 02 00"), "63 CA");
    EXPECT_EQ(tokens.load(serialA).userPin.triesLeft, 9u);

    // The admin right opens the split; a warm reset by another application drops it.
    EXPECT_EQ(client.transmitHex("00 20 00 01 08 35 39 33 30 32 38 31 34"), "90 00");
    const std::string split = "80 53 10 00 16 80 14 01 03 0B B8 00 3F 02 02 02 02 02 02 00 00 00 00 00 00 00 00";
    PcscTestClient resetter;
    resetter.connect(readerA);
    resetter.resetCard();
    try {
        client.transmit(unhex("80 53 12 00 04"));
        ADD_FAILURE() << "the reset went unnoticed";
    } catch (const PcscFailure& failure) {
        EXPECT_EQ(failure.code, static_cast<LONG>(SCARD_W_RESET_CARD));
    }
    client.connect(readerA);
    EXPECT_EQ(client.transmitHex(split, 2), "69 82");
}

TEST_F(CardOnPcsc, ResetTokenLeavesTheBusAndComesBack)
{
    tokens.add(serialA, [](auto& t) {
        t.card.awayMs = 1200;
        qvtoken::Section files;
        files.number = 1;
        files.size = 3000;
        files.operationMask = 0x3F;
        t.card.sections.push_back(files);
    });
    const std::string reader = plugged(serialA);
    ASSERT_EQ(client.transmitHex("80 53 11 01 04 82 02 01 01", 2), "90 00");
    EXPECT_FALSE(tokens.load(serialA).card.temporaryStates.empty());

    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(client.transmitHex("80 53 14 00", 2), "90 00");
    EXPECT_EQ(client.transmitHex("80 40 00 00", 2), "90 00");
    client.disconnect();
    EXPECT_TRUE(client.waitForRemoval(reader, 1s));
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 1s);

    EXPECT_EQ(client.waitForToken(serialA, 10s), reader);
    EXPECT_GT(std::chrono::steady_clock::now() - sent, 1s);
    EXPECT_TRUE(tokens.load(serialA).card.temporaryStates.empty());
}

TEST_F(CardOnPcsc, QvtokenPlugsUnplugsAndSetsCardFaults)
{
    tokens.add(serialA);
    const std::string tool = std::string(QVTOKEN_TOOL) + " ";
    const std::string reader = plugged(serialA);
    client.disconnect();
    run(tool + "unplug 258");
    EXPECT_TRUE(client.waitForRemoval(reader, 3s));
    run(tool + "card-fault 258 sw 6A86 --ins 71 --p1 00");
    run(tool + "plug 258");
    EXPECT_FALSE(client.waitForToken(serialA, 10s).empty());
    EXPECT_EQ(client.transmitHex("80 71 00 00 00"), "6A 86");
    EXPECT_EQ(client.transmitHex("80 71 00 00 00"), "40 05 04 03 00 00 05 90 00");
    run(tool + "card-fault 258 reply 6201 --ins A4 --data 10001000600500 --always");
    EXPECT_EQ(client.transmitHex("00 A4 08 04 08 10 00 10 00 60 05 00 03 00"), "62 01");
    EXPECT_EQ(client.transmitHex("00 A4 08 04 06 10 00 10 00 60 05 00").substr(0, 5), "62 0A");
}

TEST_F(CardOnPcsc, TZeroCardCompletesThroughGetResponse)
{
    tokens.add(serialA, [](auto& t) { t.card.protocol = "t0"; });
    plugged(serialA);
    EXPECT_EQ(client.atr(), unhex("3B 0C 51 75 6F 72 76 69 6B 5A 52 4E 73 63"));
    EXPECT_EQ(client.transmitHex("00 A4 08 04 06 10 00 10 00 60 05", 2), "61 0C");
    EXPECT_EQ(client.transmitHex("00 C0 00 00 0C", 14), "62 0A 82 01 38 83 02 60 05 8A 01 05 90 00");
    EXPECT_EQ(client.transmitHex("80 53 12 00 00", 2), "6C 04");
}

TEST_F(CardOnPcsc, CardPulledOutMidOperationComesBackWhenAsked)
{
    tokens.add(serialA, [](auto& t) {
        qvtoken::CardFault pull;
        pull.ins = 0x71;
        pull.action = "close";
        pull.argument = "1000";
        t.cardFaults.push_back(pull);
    });
    const std::string reader = plugged(serialA);
    // vpcd turns the lost answer into an empty one; either way no status word arrives.
    try {
        EXPECT_LT(client.transmit(unhex("80 71 00 00 00")).size(), 2u);
    } catch (const PcscFailure&) {
    }
    client.disconnect();
    EXPECT_TRUE(client.waitForRemoval(reader, 2s));
    EXPECT_EQ(client.waitForToken(serialA, 10s), reader);
    EXPECT_EQ(client.transmitHex("80 71 00 00 00"), "40 05 04 03 00 00 05 90 00");
}

} // namespace
} // namespace qvcardtest
