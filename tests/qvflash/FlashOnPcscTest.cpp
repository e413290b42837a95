// The token operations through the real pcscd against virtual cards; the
// changes are checked in the tokens' state files as well.
#include "VirtualTokens.h"
#include "thrownException.h"

#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>
#include <qvflash-core/token/TokenEnumerator.h>
#include <qvflash-core/token/TokenImpl.h>
#include <qvtoken-core/TokenPresets.h>

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using qvfl::Login;
using qvfl::PcInfo;
using qvfl::ProtectConditions;
using qvfl::Section;
using qvfl::SecurAttr;
using State = Section::AccessState;

namespace {

std::vector<std::uint8_t> bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

SecurAttr rule(std::uint8_t p, std::optional<std::uint8_t> id = std::nullopt)
{
    return SecurAttr{ProtectConditions::fromByte(p), id};
}

Section section(std::uint32_t size, State state, std::optional<SecurAttr> everyOperation = {})
{
    Section result;
    result.size = size;
    result.accessState = state;
    for (unsigned i = 0; everyOperation && i < Section::kOperationCount; ++i) {
        result.conditions.insert_or_assign(Section::operationAt(i), *everyOperation);
    }
    return result;
}

Section journal()
{
    Section result = section(500, State::Hidden, SecurAttr{qvfl::AccessForbidden{}, std::nullopt});
    result.type = Section::Type::JournalEvents;
    result.conditions.insert_or_assign(Section::SwitchAccessOperations::TemporaryReadOnly,
                                       rule(ProtectConditions::kAdmin));
    return result;
}

class FlashOnPcsc : public testing::Test {
protected:
    // The token once the card shows up on the bus.
    std::unique_ptr<qvfl::Token> open(std::uint64_t serial)
    {
        const qvfl::TokenEnumerator tokens(enumerator);
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        for (;;) {
            try {
                return tokens.createToken(serial);
            } catch (const qvfl::Exception&) {
                if (std::chrono::steady_clock::now() > deadline) {
                    throw;
                }
            }
            std::this_thread::sleep_for(200ms);
        }
    }

    void loginAdmin(qvfl::Token& token) { token.login({Login::createAdminLogin(qvtoken::defaultAdminPin)}); }

    std::shared_ptr<qvfl::ScardEnumerator> enumerator = std::make_shared<qvfl::ScardEnumeratorImpl>();
    qvcardtest::VirtualTokens tokens;
};

TEST_F(FlashOnPcsc, SplitReadBackAndAccessChanges)
{
    tokens.add(9001, [](qvtoken::TokenState& t) {
        t.drive.sizeMb = 0x300000;
        t.card.awayMs = 1200;
    });
    const std::unique_ptr<qvfl::Token> token = open(9001);
    loginAdmin(*token);
    const std::vector<Section> sections{
        section(0xFFFF, State::ReadWrite),
        section(0x10007, State::ReadOnly, rule(ProtectConditions::kUser | ProtectConditions::kLocalSecret, 3)),
        section(0x80000, State::Hidden),
        section(0x100000, State::CdRom, rule(ProtectConditions::kAdmin | ProtectConditions::kComplexRule, 7)),
        journal()};
    token->splitIntoSections(sections, enumerator);

    // Read through the reconnected token object: every size comes back with
    // the scale it was written with (only the dropped remainder is lost).
    qvfl::SectionMap read = token->getSectionsAttributes();
    ASSERT_EQ(read.size(), 5U);
    const std::uint32_t expectedSizes[] = {0xFFFF, 0x10000, 0x80000, 0x100000, 500};
    for (std::uint8_t number = 1; number <= 5; ++number) {
        Section expected = sections[number - 1];
        expected.size = expectedSizes[number - 1];
        EXPECT_EQ(read.at(number), expected) << int{number};
    }
    const qvtoken::TokenState state = tokens.load(9001);
    ASSERT_EQ(state.drive.sections.size(), 5U);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(state.drive.sections[i].size, expectedSizes[i]);
    }

    // Refused by the library before the card sees them, or by the card.
    EXPECT_EQ(thrownException([&] { token->changeAccessRights(3, State::CdRom, false, enumerator); }).code(),
              QVFLASH_ST_CD_ROM_PERMANENT_ONLY);
    EXPECT_EQ(thrownException([&] { token->changeAccessRights(9, State::ReadOnly, false, enumerator); }).code(),
              QVFLASH_ST_INVALID_SECTION_ID);
    EXPECT_EQ(thrownException([&] { token->changeAccessRights(5, State::Hidden, false, enumerator); }).code(),
              QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    EXPECT_EQ(thrownException([&] { token->changeAccessRights(2, State::ReadWrite, false, enumerator); }).code(),
              QVFLASH_ST_INVALID_RIGHTS);

    // A temporary change needs no reset; a permanent one restarts the card,
    // which forgets the temporary states.
    token->changeAccessRights(1, State::ReadOnly, false, enumerator);
    token->changeAccessRights(5, State::ReadOnly, false, enumerator);
    EXPECT_EQ(token->getSectionsAttributes().at(1).accessState, State::ReadOnly);
    EXPECT_EQ(tokens.load(9001).drive.temporaryStates.size(), 2U);

    token->changeAccessRights(3, State::ReadWrite, true, enumerator);
    read = token->getSectionsAttributes();
    EXPECT_EQ(read.at(3).accessState, State::ReadWrite);
    EXPECT_EQ(read.at(1).accessState, State::ReadWrite);
    EXPECT_TRUE(tokens.load(9001).drive.temporaryStates.empty());
    EXPECT_EQ(tokens.load(9001).drive.sections.at(2).access, 3U);
}

TEST_F(FlashOnPcsc, ResetGivesUpWhenTheTokenDoesNotComeBack)
{
    tokens.add(9002, [](qvtoken::TokenState& t) {
        qvtoken::CardFault stayAway;
        stayAway.ins = 0x53;
        stayAway.p1 = 0x14;
        stayAway.action = "no-replug";
        t.cardFaults.push_back(stayAway);
    });
    const std::unique_ptr<qvfl::Token> token = open(9002);
    auto& impl = dynamic_cast<qvfl::TokenImpl&>(*token);
    const auto start = std::chrono::steady_clock::now();
    const qvfl::Exception error = thrownException([&] { impl.resetToken(enumerator, {3s, 1s}); });
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(error.code(), QVFLASH_ST_DEVICE_NOT_FOUND);
    EXPECT_TRUE(error.conditions().empty());
    EXPECT_GE(waited, 3s);
    EXPECT_LT(waited, 10s);
}

TEST_F(FlashOnPcsc, JournalRecordsOfSeveralLengths)
{
    tokens.add(9003, [](qvtoken::TokenState& t) {
        qvtoken::Section events;
        events.number = 1;
        events.type = 1;
        events.size = 500;
        events.access = 0;
        events.operationMask = 0x3F;
        events.conditions = {0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0xFF};
        t.drive.sections.push_back(events);
    });
    tokens.add(9004);
    const std::unique_ptr<qvfl::Token> token = open(9003);
    const std::vector<PcInfo> records{
        {"", "", "", "", 0},
        {std::string(226, 'u'), "d", "o", "n", -1},
        {std::string(243, 'u'), std::string(255, 'd'), "Debian 12", std::string(255, 'n'), 1700000000}};
    for (PcInfo record : records) {
        token->logPcInfo(std::move(record));
    }
    EXPECT_EQ(thrownException([&] {
                  token->logPcInfo({"", "", "", std::string(256, 'n'), 0});
              }).code(),
              QVFLASH_ST_INVALID_STRING_SIZE);

    const std::vector<qvtoken::JournalRecord> journal = tokens.load(9003).card.journal;
    ASSERT_EQ(journal.size(), records.size());
    EXPECT_EQ(journal[0].user, "NONE");
    EXPECT_EQ(journal[0].device, "NONE");
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(journal[i].user, records[i].userName);
        EXPECT_EQ(journal[i].domain, records[i].domainName);
        EXPECT_EQ(journal[i].os, records[i].osVersion);
        EXPECT_EQ(journal[i].device, records[i].deviceName);
        EXPECT_EQ(journal[i].time, records[i].time);
    }

    EXPECT_EQ(thrownException([&] { open(9004)->logPcInfo({}); }).code(), QVFLASH_ST_JOURNAL_EVENTS_MISSING);
}

TEST_F(FlashOnPcsc, LocalPinsAndMvasShareTheDirectory)
{
    tokens.add(9005, [](qvtoken::TokenState& t) {
        // The preset holds local PIN 3; 5 to 29 are taken too.
        for (unsigned long id = 5; id <= 29; ++id) {
            qvtoken::LocalPin pin;
            pin.id = id;
            pin.pin.value = qvtoken::bytesOf("13572468");
            t.directory.push_back(pin);
        }
    });
    const std::unique_ptr<qvfl::Token> token = open(9005);
    EXPECT_EQ(thrownException([&] { token->createMva(3, 20, 5); }).code(), QVFLASH_ST_INVALID_RIGHTS);
    loginAdmin(*token);

    EXPECT_EQ(token->createLocalPin(bytes("123456"), 10, qvfl::CoreSecureType::LocalPin), 4);
    EXPECT_EQ(token->createMva(3, 20, 5), 30);
    EXPECT_EQ(token->createMva(2, 10, 3), 31);
    EXPECT_EQ(thrownException([&] { token->createMva(1, 1, 1); }).code(), QVFLASH_ST_NO_FREE_LOCAL_FILE_ID);
    EXPECT_EQ(thrownException([&] { token->createLocalPin(bytes("123456"), 3, qvfl::CoreSecureType::User); }).code(),
              QVFLASH_ST_NO_FREE_LOCAL_FILE_ID);
    EXPECT_EQ(token->getMvaIdList(), (std::vector<std::uint16_t>{30, 31}));
    const std::vector<std::uint16_t> pins = token->getLocalPinIdList();
    ASSERT_EQ(pins.size(), 27U);
    EXPECT_EQ(pins.back(), 4); // the card's order: created last
    EXPECT_EQ(token->getLocalSecretType(31), qvfl::LocalSecretType::Mva);
    EXPECT_EQ(token->getLocalSecretType(4), qvfl::LocalSecretType::LocalPin);

    // Records until the file is full, one erased and reused, all cleared.
    EXPECT_EQ(token->addMvaRecord(30, bytes("D:host-a|P:1")), 1);
    EXPECT_EQ(token->addMvaRecord(30, bytes("D:host-b|P:2")), 2);
    EXPECT_EQ(token->addMvaRecord(30, bytes("D:host-c|P:3")), 3);
    EXPECT_EQ(thrownException([&] { token->addMvaRecord(30, bytes("D:host-d")); }).code(),
              QVFLASH_ST_NO_SPACE_FOR_RECORD);
    token->eraseRecordFromMva(30, 2);
    EXPECT_EQ(token->addMvaRecord(30, bytes("D:host-e|P:5")), 2);
    EXPECT_EQ(thrownException([&] { token->eraseRecordFromMva(30, 0); }).code(), QVFLASH_ST_RECORD_NOT_FOUND);
    EXPECT_EQ(thrownException([&] { token->eraseRecordFromMva(30, 4); }).code(), QVFLASH_ST_RECORD_NOT_FOUND);
    const qvtoken::MvaFile* mva = nullptr;
    qvtoken::TokenState state = tokens.load(9005);
    mva = state.findMva(30);
    ASSERT_NE(mva, nullptr);
    ASSERT_EQ(mva->records.size(), 3U);
    EXPECT_EQ(mva->records[1].data, qvtoken::bytesOf("D:host-e|P:5"));

    token->clearMva(31); // no records: nothing to erase
    token->clearMva(30);
    state = tokens.load(9005);
    for (const qvtoken::MvaRecord& record : state.findMva(30)->records) {
        EXPECT_EQ(record.status, 0x03);
    }
    EXPECT_EQ(token->addMvaRecord(30, bytes("D:host-a|P:1")), 1);
    token->unblockMva(30);
    token->login({token->createMvaLogin(30, bytes("D:host-a|P:1"))});

    // Identifiers of the wrong kind or outside 3..31.
    const qvfl::Exception local = thrownException([&] { token->addMvaRecord(4, bytes("x")); });
    EXPECT_EQ(local.code(), QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH);
    EXPECT_EQ(local.conditions(),
              (std::vector<qvfl::Condition>{qvfl::Condition(QVFLASH_COND_SECRET_ID, std::int64_t{4}),
                                            qvfl::Condition(QVFLASH_COND_EXPECTED_SECRET_TYPE, std::int64_t{1})}));
    EXPECT_EQ(thrownException([&] { token->unblockLocalPin(30); }).code(), QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH);
    EXPECT_EQ(thrownException([&] { token->clearMva(32); }).code(), QVFLASH_ST_INVALID_SECRET_ID);

    // A changed local PIN: the remembered credential follows it.
    token->login({token->createLocalPinLogin(4, bytes("123456"))});
    token->changeLocalPin(4, bytes("654321"));
    EXPECT_EQ(tokens.load(9005).findLocalPin(4)->pin.value, qvtoken::bytesOf("654321"));
    token->changeLocalPin(4, bytes("111222"));
    EXPECT_EQ(tokens.load(9005).findLocalPin(4)->pin.value, qvtoken::bytesOf("111222"));
    token->unblockLocalPin(4);
}

} // namespace
