// The virtual card through the real pcscd and vpcd: what any PC/SC client sees.
#include "PcscTestClient.h"
#include "VirtualTokens.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

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
    // A new token with the same serial could be found in its predecessor's slot: the next test,
    // of any suite, expects these cards gone.
    void TearDown() override
    {
        client.disconnect();
        tokens.removeAll();
        EXPECT_TRUE(client.waitForNoCard(15s));
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

    const std::string script = ::testing::TempDir() + "/serial-" + std::to_string(::getpid()) + ".apdu";
    std::ofstream(script) << "00 CA 01 81 08\n";
    const std::string answer = run("scriptor -r '" + readerB + "' " + script + " 2>&1");
    std::remove(script.c_str());
    EXPECT_NE(answer.find("< 00 00 00 00 00 00 12 34 90 00"), std::string::npos) << answer;
}

TEST_F(CardOnPcsc, AnswersTheTokenFactsOfItsOwnToken)
{
    tokens.add(serialA);
    tokens.add(serialB, [](auto& t) { t.drive.sizeMb = 0x2000; });
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
        t.drive.sections.push_back(files);
    });
    const std::string reader = plugged(serialA);
    ASSERT_EQ(client.transmitHex("80 53 11 01 04 82 02 01 01", 2), "90 00");
    EXPECT_FALSE(tokens.load(serialA).drive.temporaryStates.empty());

    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(client.transmitHex("80 53 14 00", 2), "90 00");
    EXPECT_EQ(client.transmitHex("80 40 00 00", 2), "90 00");
    client.disconnect();
    EXPECT_TRUE(client.waitForRemoval(reader, 1s));
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 1s);

    EXPECT_EQ(client.waitForToken(serialA, 10s), reader);
    EXPECT_GT(std::chrono::steady_clock::now() - sent, 1s);
    EXPECT_TRUE(tokens.load(serialA).drive.temporaryStates.empty());
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

// Busy CPUs slow the card process and pcscd down; the waits must still hold exactly.
TEST_F(CardOnPcsc, QvtokenWaitsForPcscdUnderLoad)
{
    std::atomic<bool> busy{true};
    std::vector<std::thread> load;
    for (unsigned i = 0; i < std::thread::hardware_concurrency(); ++i) {
        load.emplace_back([&busy] {
            while (busy.load(std::memory_order_relaxed)) {
            }
        });
    }
    tokens.add(serialA, [](auto& t) { t.card.plugged = false; });
    tokens.add(serialB, [](auto& t) { t.card.plugged = false; });
    const std::string tool = std::string(QVTOKEN_TOOL) + " ";
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(std::system((tool + "plug --wait --timeout-ms 20000 258 4660 >/dev/null").c_str()), 0);
        // Shown means shown now: one look finds both cards.
        EXPECT_FALSE(client.waitForToken(serialA, 0ms).empty());
        EXPECT_FALSE(client.waitForToken(serialB, 0ms).empty());
        client.disconnect();
        EXPECT_EQ(std::system((tool + "unplug --wait --timeout-ms 20000 258 4660 >/dev/null").c_str()), 0);
        EXPECT_TRUE(client.waitForNoCard(0ms));
    }
    busy = false;
    for (auto& thread : load)
        thread.join();
    EXPECT_NE(std::system((tool + "plug --wait --timeout-ms 100 999 2>/dev/null").c_str()), 0);
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

// The worked byte examples, in an order that gives each the rights it needs, with the receive
// buffers the flash library passes (2 bytes without Le, Le + 2, 258 for Le 00).
TEST_F(CardOnPcsc, WorkedByteExamplesOverPcsc)
{
    tokens.add(serialA, [](auto& t) {
        t.directory.clear();
        t.drive.sizeMb = 4096;
    });
    plugged(serialA);
    const std::pair<const char*, const char*> script[] = {
        {"00 CA 01 81 08", "00 00 00 00 00 00 01 02 90 00"},
        {"80 71 00 00 00", "40 05 04 03 00 00 05 90 00"},
        {"80 53 12 00 04", "00 00 10 00 90 00"},
        {"80 53 11 00 00", "90 00"},
        {"00 20 00 02 00", "63 CA"},
        {"00 20 00 01 08 35 39 33 30 32 38 31 34", "90 00"},
        {"80 53 10 00 2C 80 14 01 03 0B B8 00 3F 02 02 02 02 02 02 00 00 00 00 00 00 00 00 "
         "80 14 02 00 02 00 01 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00",
         "90 00"},
        {"80 53 11 00 00", "80 14 01 03 0B B8 00 3F 02 02 02 02 02 02 00 00 00 00 00 00 00 00 "
                           "80 14 02 00 02 00 01 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00 90 00"},
        {"80 53 11 01 04 82 02 02 01", "90 00"},
        {"00 DA 01 7C 28 80 02 00 22 A5 22 C1 04 4E 4F 4E 45 C2 04 4E 4F 4E 45 C3 04 4E 4F 4E 45 "
         "C4 04 4E 4F 4E 45 C5 08 00 00 00 00 00 00 00 00",
         "90 00"},
        {"00 A4 08 04 06 10 00 10 00 60 05 00", "62 0A 82 01 38 83 02 60 05 8A 01 05 90 00"},
        {"00 A4 00 04 00", "6A 82"},
        {"00 E0 00 00 29 62 27 82 04 14 00 00 64 80 02 03 E8 83 02 00 03 85 06 21 00 00 55 00 00 "
         "86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00",
         "90 00"},
        {"00 E2 00 00 11 80 02 00 0B A5 0B 44 3A 41 42 43 7C 50 3A 58 59 5A", "90 00"},
        {"00 E2 00 00 11 80 02 00 0B A5 0B 44 3A 41 42 43 7C 50 3A 58 59 5A", "90 00"},
        {"00 0C 02 04", "90 00"},
        {"00 A4 08 04 08 10 00 10 00 60 05 00 03 00",
         "62 31 82 05 14 00 00 64 02 80 02 03 E8 83 02 00 03 85 06 21 00 00 55 00 00 86 0F 5F 01 01 01 FF FF "
         "00 FF 00 00 00 00 00 00 00 8F 01 81 A5 04 C0 02 01 03 90 00"},
        {"00 20 00 01 08 35 39 33 30 32 38 31 34", "90 00"},
        {"00 A4 08 04 06 10 00 10 00 60 05 00", "62 0A 82 01 38 83 02 60 05 8A 01 05 90 00"},
        {"00 E0 00 00 27 62 25 80 02 00 20 82 02 10 00 83 02 00 05 86 0F 43 01 04 00 00 00 00 FF 00 05 00 "
         "00 00 00 00 85 06 21 06 00 AA 00 00",
         "90 00"},
        {"00 24 01 00 0C 80 02 00 06 A6 06 31 32 33 34 35 36", "90 00"},
        {"80 40 00 00", "90 00"},
        {"00 20 00 85 06 31 32 33 34 35 36", "90 00"},
        {"00 20 00 91 02 44 3A", "6A 88"},
        {"00 20 00 83 0B 44 3A 41 42 43 7C 50 3A 58 59 5A", "90 00"},
        {"00 2C 03 87", "6A 88"},
        {"00 2C 03 02", "69 82"},
        {"00 A4 00 06 02 00 03 00",
         "62 25 80 02 00 20 82 02 10 00 83 02 00 05 86 0F 43 01 04 00 00 00 00 FF 00 05 00 00 00 00 00 "
         "85 06 21 06 00 AA 00 00 90 00"},
        {"00 A4 00 06 02 00 05 00", "6A 82"},
    };
    for (const auto& [command, answer] : script) {
        const Bytes bytes = unhex(command);
        const std::size_t receive = bytes.size() == 5 ? (bytes[4] == 0 ? 258 : bytes[4] + 2u)
                                    : bytes.size() > 5 && bytes.size() == 6u + bytes[4] ? (bytes.back() == 0 ? 258 : 2)
                                                                                        : 2;
        EXPECT_EQ(client.transmitHex(command, receive), answer) << command;
    }
    EXPECT_EQ(tokens.load(serialA).card.journal.size(), 1u);
}

} // namespace
} // namespace qvcardtest
