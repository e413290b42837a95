#include "hexBytes.h"

#include <qvflash-core/apdu/SelectApdu.h>
#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/pcsc/exchangeApdu.h>

#include <gtest/gtest.h>

#include <deque>

using qvfl::Apdu;
using qvfl::exchangeApdu;

namespace {

// A card that answers from a script and records what it was sent, with the
// receive buffer size the library offered.
struct ScriptedCard {
    struct Sent {
        std::vector<std::uint8_t> command;
        std::size_t bufferSize;
    };
    std::deque<std::vector<std::uint8_t>> answers;
    std::vector<Sent> sent;

    qvfl::RawTransmit raw()
    {
        return [this](const std::vector<std::uint8_t>& command, std::vector<std::uint8_t>& response) {
            sent.push_back({command, response.size()});
            ASSERT_FALSE(answers.empty()) << "unexpected command";
            ASSERT_LE(answers.front().size(), response.size()) << "answer overflows the buffer";
            response = answers.front();
            answers.pop_front();
        };
    }
};

const Apdu kGetSerial(0x00, 0xCA, 0x01, 0x81, std::nullopt, 0x08);
const Apdu kVerify(0x00, 0x20, 0x00, 0x01, hexBytes("31 31 31 31 31 31"), std::nullopt);

TEST(Exchange, CaseFourOnT0GoesWithoutLeAndCompletesWithGetResponse)
{
    ScriptedCard card;
    const std::vector<std::uint8_t> fcp(0x33, 0xAB);
    std::vector<std::uint8_t> last = fcp;
    last.insert(last.end(), {0x90, 0x00});
    card.answers = {hexBytes("61 33"), last};
    const auto [statusWord, data] =
        exchangeApdu(qvfl::ApduCommand::SelectByFullPath({0x1000, 0x1000, 0x6005, 0x0003}), true, card.raw());
    EXPECT_EQ(statusWord, 0x9000);
    EXPECT_EQ(data, fcp);
    ASSERT_EQ(card.sent.size(), 2U);
    EXPECT_EQ(card.sent[0].command, hexBytes("00 A4 08 04 08 10 00 10 00 60 05 00 03"));
    EXPECT_EQ(card.sent[1].command, hexBytes("00 C0 00 00 33"));
    EXPECT_EQ(card.sent[1].bufferSize, 0x33U + 2);
}

TEST(Exchange, CaseFourOnT1KeepsItsLe)
{
    ScriptedCard card;
    card.answers = {hexBytes("90 00")};
    exchangeApdu(qvfl::ApduCommand::SelectNextFileApdu(3), false, card.raw());
    EXPECT_EQ(card.sent[0].command, hexBytes("00 A4 00 06 02 00 03 00"));
}

TEST(Exchange, MoreDataChainsAreGatheredInOrder)
{
    ScriptedCard card;
    std::vector<std::uint8_t> first(256, 0x01);
    first.insert(first.end(), {0x61, 0x00});
    std::vector<std::uint8_t> second(256, 0x02);
    second.insert(second.end(), {0x61, 0x02});
    card.answers = {first, second, hexBytes("03 04 6A 82")};
    const auto [statusWord, data] = exchangeApdu(qvfl::ApduCommand::SelectFirstFileApdu(), false, card.raw());
    EXPECT_EQ(statusWord, 0x6A82);
    ASSERT_EQ(data.size(), 514U);
    EXPECT_EQ(data[255], 0x01);
    EXPECT_EQ(data[256], 0x02);
    EXPECT_EQ(data[512], 0x03);
    ASSERT_EQ(card.sent.size(), 3U);
    EXPECT_EQ(card.sent[1].command, hexBytes("00 C0 00 00 00"));
    EXPECT_EQ(card.sent[1].bufferSize, 258U);
    EXPECT_EQ(card.sent[2].command, hexBytes("00 C0 00 00 02"));
}

TEST(Exchange, WrongLengthResendsOnceWithTheExactLe)
{
    ScriptedCard card;
    std::vector<std::uint8_t> sections(0x10, 0x80);
    sections.insert(sections.end(), {0x90, 0x00});
    card.answers = {hexBytes("6C 10"), sections};
    const auto [statusWord, data] = exchangeApdu(Apdu(0x80, 0x53, 0x11, 0x00, std::nullopt, 0x00), true, card.raw());
    EXPECT_EQ(statusWord, 0x9000);
    EXPECT_EQ(data.size(), 0x10U);
    ASSERT_EQ(card.sent.size(), 2U);
    EXPECT_EQ(card.sent[1].command, hexBytes("80 53 11 00 10"));
    EXPECT_EQ(card.sent[1].bufferSize, 18U);
}

TEST(Exchange, WrongLengthToACommandWithoutLeIsTheAnswer)
{
    // Resending would change the last secret byte and burn a retry.
    ScriptedCard card;
    card.answers = {hexBytes("6C 05")};
    EXPECT_EQ(exchangeApdu(kVerify, false, card.raw()).first, 0x6C05);
    EXPECT_EQ(card.sent.size(), 1U);

    // On T=0 the Le of a SELECT by path is not sent, so it cannot be corrected.
    card.answers = {hexBytes("6C 20")};
    card.sent.clear();
    EXPECT_EQ(exchangeApdu(qvfl::ApduCommand::SelectNextFileApdu(3), true, card.raw()).first, 0x6C20);
    EXPECT_EQ(card.sent.size(), 1U);
}

TEST(Exchange, AnEndlessMoreDataChainIsCutOff)
{
    ScriptedCard card;
    std::vector<std::uint8_t> part(256, 0x55);
    part.insert(part.end(), {0x61, 0x00});
    card.answers.assign(300, part);
    try {
        exchangeApdu(qvfl::ApduCommand::SelectFirstFileApdu(), false, card.raw());
        FAIL() << "no exception";
    } catch (const PcscException& e) {
        EXPECT_EQ(e.code(), QVFLASH_ST_PCSC_ERROR);
        EXPECT_EQ(e.conditions()[2].detail(), qvfl::Condition::Detail(std::string("0x80100008")));
    }
    EXPECT_LE(card.sent.size(), qvfl::kMaxResponseSize / 256 + 1);
}

TEST(Exchange, AnswersShorterThanAStatusWordAreAPcscError)
{
    ScriptedCard card;
    card.answers = {hexBytes("90")};
    try {
        exchangeApdu(kGetSerial, false, card.raw());
        FAIL() << "no exception";
    } catch (const PcscException& e) {
        ASSERT_EQ(e.conditions().size(), 3U);
        EXPECT_EQ(e.conditions()[1].detail(), qvfl::Condition::Detail(std::int64_t{-2146435041}));
        EXPECT_EQ(e.conditions()[2].detail(), qvfl::Condition::Detail(std::string("0x8010001f")));
    }
}

} // namespace
