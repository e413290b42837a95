// The flash bindings through the real pcscd against virtual tokens: what reaches the card (its
// APDU log), what the token then holds, and which exception the program sees.
#include "PcscTestClient.h"
#include "VirtualTokens.h"
#include "apduLog.h"
#include "failingNew.h"
#include "flash/InternalWrapperError.h"
#include "flash/PrConds.h"
#include "flash/QvflashException.h"
#include "flash/Token.h"
#include "thrown.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using namespace quorvik::qvflash;
using Bytes = std::vector<uint8_t>;

constexpr uint64_t kSerial = 71001;
constexpr char kAdminPin[] = "59302814";
constexpr char kUserPin[] = "40417263";
constexpr uint16_t kPresetLocalPin = 3;

// The numbers among an exception's conditions, as {code, value}.
std::vector<std::pair<int, long long>> numbers(const QvflashException& error)
{
    std::vector<std::pair<int, long long>> found;
    for (const auto& condition : error.getConditions())
        if (const auto* number = std::get_if<long long>(&condition.detail))
            found.emplace_back(condition.getCondCode(), *number);
    return found;
}

// A refused login: the attempts left and the card's 63Cx.
std::vector<std::pair<int, long long>> refusedWith(long long left)
{
    return {{QVFLASH_COND_REMAINING_ATTEMPTS, left}, {QVFLASH_COND_APDU_STATUS, 0x63C0 + left}};
}

class TokenOnCards : public ::testing::Test {
protected:
    void plug(uint64_t serial, const std::function<void(qvtoken::TokenState&)>& adjust = {})
    {
        tokens->add(serial, adjust);
        const std::string reader = client.waitForToken(serial, 10s);
        ASSERT_FALSE(reader.empty());
        client.disconnect();
        readers.push_back(reader);
    }

    // The next test must not meet these cards on their way out.
    void TearDown() override
    {
        tokens.reset();
        for (const std::string& reader : readers)
            EXPECT_TRUE(client.waitForRemoval(reader, 3s));
    }

    std::unique_ptr<qvcardtest::VirtualTokens> tokens = std::make_unique<qvcardtest::VirtualTokens>();
    qvcardtest::PcscTestClient client;
    std::vector<std::string> readers;
};

TEST_F(TokenOnCards, CreateOpensOnlyListedTokensThatHaveTheFlashFunctions)
{
    plug(kSerial);
    plug(kSerial + 1, [](qvtoken::TokenState& token) { token.card.extInfo.reset(); });
    const auto token = Token::create(kSerial);
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->getSerial(), kSerial);
    // Asked and refused; the handle is given back (the sanitizer build finds no leak).
    EXPECT_EQ(Token::create(kSerial + 1), nullptr);
    EXPECT_EQ(Token::create(kSerial + 2), nullptr);

    // Whichever allocation fails, nothing stays open (the sanitizer build finds no leak).
    for (std::size_t n = 1;; ++n) {
        failNewAfter(n);
        try {
            const bool opened = Token::create(kSerial) != nullptr;
            failNewAfter(0);
            EXPECT_TRUE(opened);
            break;
        } catch (const std::bad_alloc&) {
        } catch (const InternalErrorException&) {
        }
    }

    tokens->removeAll();
    for (const std::string& reader : readers)
        ASSERT_TRUE(client.waitForRemoval(reader, 3s));
    EXPECT_EQ(Token::create(kSerial + 1), nullptr);
}

TEST_F(TokenOnCards, SectionsAreSplitReadBackAndSwitched)
{
    plug(kSerial);
    const auto token = Token::create(kSerial);
    const auto none = token->getTokenVolumeInfo();
    EXPECT_EQ(none->cbegin(), none->cend());
    EXPECT_EQ(none->getSectionById(1), none->cend());
    EXPECT_EQ(token->getDriveSize(), 4096U);

    token->login(kAdminPin, UserType::Admin);
    thrownBy<InvalidSectionCountException>([&] { token->splitIntoSections({}); });
    const qvflash_PrConds admin{QVFLASH_RULE_ADMIN, 0, 0, QVFLASH_SECRET_NONE};
    const qvflash_PrConds forbidden{QVFLASH_RULE_FORBIDDEN, 0, 0, QVFLASH_SECRET_NONE};
    const std::vector<qvflash_Section> split{{0,
                                              {},
                                              QVFLASH_SECTION_USER_FILES,
                                              2048,
                                              QVFLASH_SECTION_READ_WRITE,
                                              {admin, admin, admin, admin, admin, admin}},
                                             {0,
                                              {},
                                              QVFLASH_SECTION_JOURNAL_EVENTS,
                                              1000,
                                              QVFLASH_SECTION_HIDDEN,
                                              {forbidden, admin, forbidden, forbidden, forbidden, forbidden}}};
    token->splitIntoSections(split);

    const auto read = token->getTokenVolumeInfo();
    ASSERT_EQ(read->cend() - read->cbegin(), 2);
    const qvflash_Section* journal = read->getSectionById(2);
    EXPECT_TRUE(journal->type == QVFLASH_SECTION_JOURNAL_EVENTS && journal->size == 1000);
    EXPECT_TRUE(journal->conditions[0] == forbidden && journal->conditions[1] == admin);
    EXPECT_EQ(read->getSectionById(3), read->cend());

    token->changeSectionAccessRights(1, QVFLASH_SECTION_READ_ONLY, false);
    const auto state = tokens->load(kSerial);
    EXPECT_EQ(state.drive.sections.at(0).access, 3U);
    EXPECT_EQ(state.drive.temporaryStates, (std::vector<std::pair<unsigned, unsigned>>{{1, 1}}));
}

TEST_F(TokenOnCards, MvasAndLocalPinsAreMadeChangedAndTold)
{
    plug(kSerial);
    const auto token = Token::create(kSerial);
    const auto asAdminAndUser = [&] {
        token->logout();
        token->login(kAdminPin, UserType::Admin);
        token->login(kUserPin, UserType::User);
    };
    asAdminAndUser();
    // A local PIN protects itself: its change needs its own login, which then goes stale.
    const uint16_t local = token->createLocalPin("24681357");
    token->loginLocal(local, "24681357");
    token->setLocalPin(local, "97531864");
    EXPECT_EQ(tokens->load(kSerial).findLocalPin(local)->pin.value, Bytes({'9', '7', '5', '3', '1', '8', '6', '4'}));
    asAdminAndUser();
    EXPECT_EQ(token->getLocalSecretType(local), QVFLASH_SECRET_LOCAL_PIN);
    EXPECT_EQ(token->getLocalSecretType(local + 1), std::nullopt);

    const uint16_t mva = token->createMva({3, 16, 5});
    const Bytes snapshot{'D', ':', 'x', '|', 'P', ':', 'y'};
    token->addSnapshotToMva(mva, snapshot);
    EXPECT_TRUE(token->getMvaList()->contains(mva));
    EXPECT_EQ(token->getLocalSecretType(mva), QVFLASH_SECRET_MVA);
    token->loginMva(mva, snapshot);
    // The MVA login stays remembered, so clearing its records is the last thing done here.
    token->clearMva(mva);
    auto cleared = tokens->load(kSerial);
    const auto& records = cleared.findMva(mva)->records;
    EXPECT_TRUE(records.size() == 1 && records[0].status == 0x03 && records[0].data.empty());
}

TEST_F(TokenOnCards, RefusedAndBlockedLoginsCarryTheCardsAnswer)
{
    plug(kSerial, [](qvtoken::TokenState& token) { token.adminPin.triesLeft = 1; });
    const auto token = Token::create(kSerial);
    EXPECT_EQ(numbers(thrownBy<IncorrectLoginException>([&] { token->login("00000000", UserType::User); })),
              refusedWith(9));
    thrownBy<QvflashException>([&] { token->login("00000000", UserType::Admin); });
    thrownBy<ObjectBlockedException>([&] { token->login(kAdminPin, UserType::Admin); });

    // A role the bindings do not know never reaches the card.
    clearApduLog(kSerial);
    thrownBy<InternalWrapperError>([&] { token->login(kUserPin, static_cast<UserType>(2)); });
    EXPECT_TRUE(sentApdus(kSerial).empty());
}

TEST_F(TokenOnCards, UnblockResetsUserThenMvasThenLocalPinsAndStopsAtAFault)
{
    const auto exhaust = [](qvtoken::TokenState& token) {
        token.userPin.triesLeft = 2;
        token.findLocalPin(kPresetLocalPin)->pin.triesLeft = 3;
        for (auto& entry : token.directory)
            if (auto* mva = std::get_if<qvtoken::MvaFile>(&entry))
                mva->triesLeft = 1;
    };
    plug(kSerial, [&](qvtoken::TokenState& token) {
        for (const unsigned long id : {5UL, 4UL})
            token.directory.emplace_back(qvtoken::MvaFile{id, 8, 1, {}, 10, 10, {}, {}});
        exhaust(token);
    });
    const auto token = Token::create(kSerial);
    token->login(kAdminPin, UserType::Admin);
    clearApduLog(kSerial);
    UnblockedPins restored;
    token->unblockPins(restored);
    // The MVAs in the order the library lists them (as the directory holds them, not by id).
    EXPECT_EQ(sentApdus(kSerial, "00 2C"),
              (std::vector<std::string>{"00 2C 03 02", "00 2C 03 85", "00 2C 03 84", "00 2C 03 83"}));
    EXPECT_EQ(tokens->load(kSerial).findLocalPin(kPresetLocalPin)->pin.triesLeft, 10U);

    // The card fails the second reset: the user PIN stays restored, nothing after it is tried.
    tokens->modify(kSerial, [&](qvtoken::TokenState& token) {
        exhaust(token);
        token.cardFaults.push_back({{}, {}, 0x2C, {}, {}, {}, {}, 2, false, 1, "sw", "6A82", 0});
    });
    clearApduLog(kSerial);
    UnblockedPins partly;
    thrownBy<FileNotFoundException>([&] { token->unblockPins(partly); });
    EXPECT_EQ(sentApdus(kSerial, "00 2C").size(), 2U);
    EXPECT_TRUE(partly.user && partly.mvas.empty() && partly.localPins.empty());
    auto after = tokens->load(kSerial);
    EXPECT_EQ(after.userPin.triesLeft, 10U);
    EXPECT_TRUE(after.findMva(5)->triesLeft == 1 && after.findMva(4)->triesLeft == 1);
    EXPECT_EQ(after.findLocalPin(kPresetLocalPin)->pin.triesLeft, 3U);
}

TEST_F(TokenOnCards, AJournalRecordWithoutAJournalSectionIsDropped)
{
    plug(kSerial);
    const char user[] = "admin";
    Token::create(kSerial)->addLogPcInfo({{5, user}, {5, user}, {5, user}, {5, user}, 1700000000});
    EXPECT_TRUE(tokens->load(kSerial).card.journal.empty());
}

TEST_F(TokenOnCards, EachThreadReadsTheConditionsOfItsOwnToken)
{
    plug(kSerial);
    plug(kSerial + 1, [](qvtoken::TokenState& token) { token.userPin.triesLeft = 5; });
    // Four refusals each, at the same time: every exception holds its own token's count.
    const auto refuse = [](uint64_t serial, long long left, int& matched) {
        const auto token = Token::create(serial);
        for (const long long last = left - 4; --left >= last;)
            matched += numbers(thrownBy<IncorrectLoginException>([&] { token->login("00000000", UserType::User); })) ==
                       refusedWith(left);
    };
    int first = 0;
    int second = 0;
    std::thread other(refuse, kSerial + 1, 5, std::ref(second));
    refuse(kSerial, 10, first);
    other.join();
    EXPECT_EQ(std::make_pair(first, second), std::make_pair(4, 4));
}

} // namespace
