#include "ScriptedScard.h"
#include "thrownException.h"

#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/token/TokenImpl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace std::chrono_literals;
using qvfl::Section;
using qvfl::TokenImpl;

namespace {

const char kGetSections[] = "80 53 11 00 00";
const char kCountFlash[] = "80 53 12 00 04";
const char kResetRights[] = "80 40 00 00";
const char kGetSerial[] = "00 CA 01 81 08";

const char kJournalSection[] = "80 14 01 00 02 00 01 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00";
const char kEncryptedReadWrite[] = "80 14 02 43 00 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
const char kUserSection[] = "80 14 03 03 00 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

// Answers each enumeration with the next list of cards, or throws what the
// next step names.
class ScriptedEnumerator : public qvfl::ScardEnumerator {
public:
    std::vector<std::function<std::vector<std::shared_ptr<qvfl::Scard>>()>> polls;
    std::size_t calls = 0;

    std::vector<std::shared_ptr<qvfl::Scard>> enumScards() override { return polls.at(calls++)(); }
};

std::shared_ptr<ScriptedScard> cardWithSerial(const char* serialAnswer)
{
    auto card = std::make_shared<ScriptedScard>();
    card->answer(serialAnswer);
    return card;
}

const qvfl::ResetPolling kQuickPolling{50ms, 1ms};

} // namespace

TEST(TokenSections, AvailableSizeLeavesOutTheJournals)
{
    const auto available = [](const char* total, const std::string& sections) {
        auto card = std::make_shared<ScriptedScard>();
        card->answer(total);
        card->answer(sections);
        return TokenImpl(card).getSizeAvailableForFormatting();
    };
    // A journal of 512 units (size value 02 00).
    EXPECT_EQ(available("00 00 10 00 90 00", std::string(kJournalSection) + " 90 00"), 3584U);
    EXPECT_EQ(available("00 00 02 00 90 00", std::string(kJournalSection) + " 90 00"), 0U);
    const qvfl::Exception tooSmall =
        thrownException([&] { available("00 00 01 FF 90 00", std::string(kJournalSection) + " 90 00"); });
    EXPECT_EQ(tooSmall.code(), QVFLASH_ST_UNEXPECTED_APDU_RESPONSE);
    EXPECT_EQ(tooSmall.conditions(), std::vector<qvfl::Condition>{qvfl::Condition(
                                         QVFLASH_COND_APDU_RESPONSE, std::string("invalid total device memory size"))});
    EXPECT_EQ(thrownException([&] { available("00 00 10 00 00 90 00", "90 00"); }).conditions(),
              std::vector<qvfl::Condition>{qvfl::Condition(
                  QVFLASH_COND_APDU_RESPONSE, std::string("the response length didn't match the expected"))});
}

TEST(TokenSections, SplitChecksComeBeforeTheSplitCommand)
{
    auto counted = std::make_shared<ScriptedScard>();
    counted->answer(std::string(kJournalSection) + " " + kEncryptedReadWrite + " 90 00");
    TokenImpl token(counted);
    EXPECT_EQ(thrownException([&] { token.splitIntoSections(std::vector<Section>(7), nullptr); }).code(),
              QVFLASH_ST_INVALID_SECTION_COUNT);
    EXPECT_EQ(counted->sentHex(), std::vector<std::string>{kGetSections});

    auto sized = std::make_shared<ScriptedScard>();
    sized->answer("90 00");
    sized->answer("00 00 10 00 90 00");
    sized->answer("90 00");
    Section tooLarge;
    tooLarge.size = 4097;
    EXPECT_EQ(thrownException([&] { TokenImpl(sized).splitIntoSections({tooLarge}, nullptr); }).code(),
              QVFLASH_ST_INVALID_SECTION_SIZE);
    EXPECT_EQ(sized->sentHex(), (std::vector<std::string>{kGetSections, kCountFlash, kGetSections}));

    auto none = std::make_shared<ScriptedScard>();
    EXPECT_EQ(thrownException([&] { TokenImpl(none).splitIntoSections({}, nullptr); }).code(),
              QVFLASH_ST_INVALID_SECTION_COUNT);
    EXPECT_TRUE(none->sent.empty());
}

TEST(TokenSections, AccessChangeChecks)
{
    auto cdRom = std::make_shared<ScriptedScard>();
    EXPECT_EQ(thrownException([&] {
                  TokenImpl(cdRom).changeAccessRights(1, Section::AccessState::CdRom, false, nullptr);
              }).code(),
              QVFLASH_ST_CD_ROM_PERMANENT_ONLY);
    EXPECT_TRUE(cdRom->sent.empty());

    auto journal = std::make_shared<ScriptedScard>();
    journal->answer(std::string(kJournalSection) + " " + kEncryptedReadWrite + " 90 00");
    EXPECT_EQ(thrownException([&] {
                  TokenImpl(journal).changeAccessRights(1, Section::AccessState::ReadOnly, false, nullptr);
              }).code(),
              QVFLASH_ST_JOURNAL_RO_ENCRYPTED_CONFLICT);
    EXPECT_EQ(journal->sentHex(), (std::vector<std::string>{kGetSections, kResetRights}));

    auto temporary = std::make_shared<ScriptedScard>();
    temporary->answer(std::string(kUserSection) + " 90 00");
    TokenImpl(temporary).changeAccessRights(3, Section::AccessState::Hidden, false, nullptr);
    EXPECT_EQ(temporary->sentHex(),
              (std::vector<std::string>{kGetSections, "80 53 11 01 04 82 02 03 00", kResetRights}));
}

TEST(TokenSections, ResetPollsUntilTheSameSerialComesBack)
{
    auto card = std::make_shared<ScriptedScard>();
    card->answer("00 00 00 00 00 00 00 2A 90 00");
    auto enumerator = std::make_shared<ScriptedEnumerator>();
    enumerator->polls = {
        []() -> std::vector<std::shared_ptr<qvfl::Scard>> {
            throw PcscException(static_cast<LONG>(SCARD_E_NO_SMARTCARD), __FILE__, "enumScards", __LINE__);
        },
        [] { return std::vector<std::shared_ptr<qvfl::Scard>>{cardWithSerial("00 00 00 00 00 00 00 2B 90 00")}; },
        // A card that refuses its serial is passed over, also alone on the bus and first in
        // reader order: it may sit in the reader the token left, the token back in another.
        [] { return std::vector<std::shared_ptr<qvfl::Scard>>{cardWithSerial("6F 00")}; },
        [] {
            return std::vector<std::shared_ptr<qvfl::Scard>>{cardWithSerial("6F 00"),
                                                             cardWithSerial("00 00 00 00 00 00 00 2A 90 00")};
        }};
    TokenImpl(card).resetToken(enumerator, {10s, 1ms});
    EXPECT_EQ(enumerator->calls, 4U);
    EXPECT_EQ(card->sentHex(), (std::vector<std::string>{kGetSerial, "80 53 14 00", kResetRights}));
    EXPECT_EQ(card->lockDepth, 0);
}

TEST(TokenSections, ResetEndsOnlyOnItsSerialOrTheDeadline)
{
    const auto polls = [](const std::function<std::vector<std::shared_ptr<qvfl::Scard>>()>& poll) {
        auto enumerator = std::make_shared<ScriptedEnumerator>();
        enumerator->polls.assign(1000, poll);
        return enumerator;
    };
    // The token's own card refusing its serial, after another card's malformed answer, waits
    // out the deadline, which names the last refusal seen.
    auto refusing = polls([] {
        return std::vector<std::shared_ptr<qvfl::Scard>>{cardWithSerial("00 2A 90 00"), cardWithSerial("6A 88")};
    });
    const qvfl::Exception refused = thrownException(
        [&] { TokenImpl(cardWithSerial("00 00 00 00 00 00 00 2A 90 00")).resetToken(refusing, kQuickPolling); });
    EXPECT_EQ(refused.code(), QVFLASH_ST_DEVICE_NOT_FOUND);
    EXPECT_EQ(refused.conditions(),
              std::vector<qvfl::Condition>{qvfl::Condition(
                  QVFLASH_COND_LAST_REFUSAL, std::string("Reference data hasn't been found, status word 6A88"))});

    auto gone = polls([] { return std::vector<std::shared_ptr<qvfl::Scard>>{}; });
    auto card = std::make_shared<ScriptedScard>();
    card->answer("00 00 00 00 00 00 00 2A 90 00");
    const qvfl::Exception missing = thrownException([&] { TokenImpl(card).resetToken(gone, kQuickPolling); });
    EXPECT_EQ(missing.code(), QVFLASH_ST_DEVICE_NOT_FOUND);
    EXPECT_TRUE(missing.conditions().empty());

    auto rejected = std::make_shared<ScriptedScard>();
    rejected->answer("00 00 00 00 00 00 00 2A 90 00");
    rejected->answer("69 82");
    EXPECT_EQ(thrownException([&] { TokenImpl(rejected).resetToken(gone, kQuickPolling); }).code(),
              QVFLASH_ST_INVALID_RIGHTS);
    EXPECT_EQ(rejected->sentHex().back(), kResetRights);
}

TEST(TokenJournal, ChunksGoOutChainedUnderOneTransaction)
{
    auto card = std::make_shared<ScriptedScard>();
    card->answer(std::string(kJournalSection) + " 90 00");
    TokenImpl(card).logPcInfo({std::string(226, 'u'), "d", "o", "n", 0});
    const std::vector<std::string> sent = card->sentHex();
    ASSERT_EQ(sent.size(), 4U);
    EXPECT_EQ(sent[1].substr(0, 32), "10 DA 01 7C FD 80 02 00 F7 A5 F7");
    EXPECT_EQ(sent[2], "00 DA 01 7C 02 A5 00");
    EXPECT_EQ(sent[3], kResetRights);

    auto refused = std::make_shared<ScriptedScard>();
    refused->answer(std::string(kJournalSection) + " 90 00");
    refused->answer("6A 80");
    EXPECT_EQ(thrownException([&] {
                  TokenImpl(refused).logPcInfo({std::string(226, 'u'), "d", "o", "n", 0});
              }).code(),
              QVFLASH_ST_INVALID_DATA);
    EXPECT_EQ(refused->sentHex().size(), 3U); // the second chunk is not sent

    auto secondKindOnly = std::make_shared<ScriptedScard>();
    secondKindOnly->answer("80 14 01 00 02 00 02 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00 90 00");
    EXPECT_EQ(thrownException([&] { TokenImpl(secondKindOnly).logPcInfo({}); }).code(),
              QVFLASH_ST_JOURNAL_EVENTS_MISSING);
    EXPECT_EQ(secondKindOnly->sent.size(), 1U);
}
