#include "hexBytes.h"
#include "thrownException.h"

#include <qvflash-core/sections/SectionTlv.h>
#include <qvflash-core/sections/sectionRules.h>

#include <gtest/gtest.h>

#include <stdexcept>

using qvfl::AccessForbidden;
using qvfl::Condition;
using qvfl::Exception;
using qvfl::ProtectConditions;
using qvfl::Section;
using qvfl::SecurAttr;
using Op = Section::SwitchAccessOperations;

namespace {

Condition integer(qvflash_ConditionCode code, std::int64_t value)
{
    return Condition(code, value);
}
Condition text(qvflash_ConditionCode code, const char* value)
{
    return Condition(code, std::string(value));
}

Section userSection(std::uint32_t size)
{
    Section section;
    section.size = size;
    section.accessState = Section::AccessState::ReadWrite;
    return section;
}

SecurAttr rule(std::uint8_t p, std::optional<std::uint8_t> id = std::nullopt)
{
    return SecurAttr{ProtectConditions::fromByte(p), id};
}

SecurAttr forbidden()
{
    return SecurAttr{AccessForbidden{}, std::nullopt};
}

Section journal(std::uint32_t size)
{
    Section section;
    section.size = size;
    section.type = Section::Type::JournalEvents;
    for (unsigned i = 0; i < Section::kOperationCount; ++i) {
        section.conditions.insert_or_assign(Section::operationAt(i), forbidden());
    }
    section.conditions.insert_or_assign(Op::TemporaryReadOnly, rule(ProtectConditions::kAdmin));
    return section;
}

qvfl::SectionMap current(std::initializer_list<Section::Type> types)
{
    qvfl::SectionMap sections;
    std::uint8_t number = 0;
    for (const Section::Type type : types) {
        Section section = type == Section::Type::JournalEvents ? journal(500) : userSection(100);
        section.type = type;
        sections[++number] = section;
    }
    return sections;
}

} // namespace

TEST(ProtectConditions, EightFlagsMakeAValidByteOrThrow)
{
    EXPECT_EQ(ProtectConditions(true, false, false, true, false, false, false, false).value(), 0x09);
    EXPECT_THROW(ProtectConditions(false, false, true, true, false, false, false, false), std::invalid_argument);
    EXPECT_THROW(ProtectConditions(true, false, false, false, false, true, false, false), std::invalid_argument);
    EXPECT_FALSE(ProtectConditions::fromByte(0x0C).isValid());
}

// Every size is written with the smallest code that holds it and read back
// with the same multiplier; only the dropped remainder is lost.
TEST(SectionTlv, SizesRoundTripAroundEveryCodeBoundary)
{
    struct Row {
        std::uint32_t size;
        std::uint8_t code;
        std::uint16_t value;
        std::uint32_t readBack;
    };
    const Row rows[] = {
        {1, 0, 1, 1},
        {0xFFFF, 0, 0xFFFF, 0xFFFF},
        {0x10000, 1, 0x2000, 0x10000},
        {0x10007, 1, 0x2000, 0x10000},
        {0x7FFFF, 1, 0xFFFF, 0x7FFF8},
        {0x80000, 2, 0x8000, 0x80000},
        {0xFFFFF, 2, 0xFFFF, 0xFFFF0},
        {0x100000, 3, 0x8000, 0x100000},
        {0x1FFFFF, 3, 0xFFFF, 0x1FFFE0},
    };
    for (const Row& row : rows) {
        Section section = userSection(row.size);
        const std::vector<std::uint8_t> tlv = qvfl::SectionTlv::formSectionTlv(4, section);
        ASSERT_EQ(tlv.size(), 22U);
        EXPECT_EQ(tlv[3], 0x03 | (row.code << 3)) << row.size;
        EXPECT_EQ((tlv[4] << 8) | tlv[5], row.value) << row.size;
        const qvfl::SectionMap parsed = qvfl::SectionTlv::parseSections(tlv);
        ASSERT_EQ(parsed.count(4), 1U);
        EXPECT_EQ(parsed.at(4).size, row.readBack) << row.size;
    }
    EXPECT_EQ(thrownException([] { qvfl::SectionTlv::formSectionTlv(1, userSection(0x200000)); }).code(),
              QVFLASH_ST_INVALID_SECTION_SIZE);
}

TEST(SectionTlv, ConditionAndSecretBytesRoundTrip)
{
    Section section = userSection(64);
    section.conditions.insert_or_assign(Op::Op1, rule(0x09, 5));  // admin, complex rule 5
    section.conditions.insert_or_assign(Op::Op8, rule(0x12, 20)); // user, key 20
    section.conditions.insert_or_assign(Op::Op32, forbidden());
    section.conditions.insert_or_assign(Op::Op4, rule(0x06, 7)); // user, local secret 7
    const std::vector<std::uint8_t> tlv = qvfl::SectionTlv::formSectionTlv(1, section);
    EXPECT_EQ(tlv, hexBytes("80 14 01 03 00 40 00 2D 05 00 06 0A 00 FF 00 85 00 07 14 00 00 00"));
    EXPECT_EQ(qvfl::SectionTlv::parseSections(tlv).at(1), section);

    Section encrypted = userSection(8);
    encrypted.type = Section::Type::Encrypted;
    EXPECT_EQ(qvfl::SectionTlv::parseSections(qvfl::SectionTlv::formSectionTlv(2, encrypted)).at(2), encrypted);
}

TEST(SectionTlv, MalformedAnswersAreRefused)
{
    const auto flashInfo = [](const char* hex) {
        return thrownException([&] { qvfl::SectionTlv::parseSections(hexBytes(hex)); });
    };
    const Exception access = flashInfo("80 14 01 02 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(access.code(), QVFLASH_ST_UNEXPECTED_APDU_RESPONSE);
    EXPECT_EQ(access.conditions(),
              std::vector<Condition>{text(QVFLASH_COND_TLV_PARSING_ERROR, "invalid access rights byte value")});
    const Exception tag = flashInfo("81 14 01 03 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(tag.conditions(), std::vector<Condition>{text(QVFLASH_COND_TLV_PARSING_ERROR,
                                                            "invalid structure with information about flash memory")});
    EXPECT_EQ(flashInfo("80 02 01 03").code(), QVFLASH_ST_UNEXPECTED_APDU_RESPONSE);
    // A journal may leave open only the temporary switch to read-only.
    EXPECT_EQ(flashInfo("80 14 01 00 01 F4 01 03 01 01 00 00 00 00 00 00 00 00 00 00 00 00").code(),
              QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
    EXPECT_EQ(flashInfo("80 14 01 03 00 40 00 01 0C 00 00 00 00 00 00 00 00 00 00 00 00 00").code(),
              QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
    EXPECT_TRUE(qvfl::SectionTlv::parseSections({}).empty());
}

TEST(SplitRules, SectionCountDependsOnTheSectionsKept)
{
    EXPECT_EQ(thrownException([] { qvfl::checkSplitNotEmpty({}); }).code(), QVFLASH_ST_INVALID_SECTION_COUNT);
    const Exception nine =
        thrownException([] { qvfl::checkSectionCount(std::vector<Section>(9, userSection(1)), {}); });
    EXPECT_EQ(nine.code(), QVFLASH_ST_INVALID_SECTION_COUNT);
    EXPECT_EQ(nine.conditions(), std::vector<Condition>{integer(QVFLASH_COND_MAX_SECTION_COUNT, 8)});
    const Exception seven = thrownException([] {
        qvfl::checkSectionCount(
            std::vector<Section>(7, userSection(1)),
            current({Section::Type::UserFiles, Section::Type::JournalEvents, Section::Type::Encrypted}));
    });
    EXPECT_EQ(seven.conditions(), std::vector<Condition>{integer(QVFLASH_COND_MAX_SECTION_COUNT, 6)});
    EXPECT_NO_THROW(qvfl::checkSectionCount(std::vector<Section>(8, userSection(1)), {}));
    EXPECT_EQ(qvfl::splitCommandData(std::vector<Section>(8, userSection(1)), {}, 4096).size(), 8U * 22U);
}

TEST(SplitRules, SizesAndTypes)
{
    const auto split = [](std::vector<Section> sections, std::uint32_t available) {
        return thrownException([&] { qvfl::splitCommandData(sections, {}, available); });
    };
    const std::vector<Condition> sizeConditions{integer(QVFLASH_COND_SECTION_SIZE, 0),
                                                integer(QVFLASH_COND_AVAILABLE_FLASH_SIZE, 100)};
    EXPECT_EQ(split({userSection(0)}, 100).conditions(), sizeConditions);
    EXPECT_EQ(split({userSection(101)}, 100).code(), QVFLASH_ST_INVALID_SECTION_SIZE);
    // Sizes no size code can carry are refused before anything is sent.
    const Exception huge = split({userSection(0x200000)}, 0x300000);
    EXPECT_EQ(huge.code(), QVFLASH_ST_INVALID_SECTION_SIZE);
    EXPECT_EQ(huge.conditions()[0], integer(QVFLASH_COND_SECTION_SIZE, 0x200000));
    const Exception total = split({userSection(60), userSection(41)}, 100);
    EXPECT_EQ(total.code(), QVFLASH_ST_INVALID_SECTIONS_TOTAL_SIZE);
    EXPECT_EQ(total.conditions(), std::vector<Condition>{integer(QVFLASH_COND_AVAILABLE_FLASH_SIZE, 100)});
    Section encrypted = userSection(10);
    encrypted.type = Section::Type::Encrypted;
    EXPECT_EQ(split({encrypted}, 100).conditions(), std::vector<Condition>{integer(QVFLASH_COND_SECTION_TYPE, 3)});
    // Large sections reach the card with the codes the card reads back.
    const std::vector<std::uint8_t> data =
        qvfl::splitCommandData({userSection(0x80000), userSection(0x100000)}, {}, 0x200000);
    EXPECT_EQ(data[3], 0x03 | (2 << 3));
    EXPECT_EQ(data[22 + 2], 2);
    EXPECT_EQ(data[22 + 3], 0x03 | (3 << 3));
}

TEST(SplitRules, JournalSection)
{
    const auto split = [](const Section& section, const qvfl::SectionMap& kept = {}) {
        return thrownException([&] { qvfl::splitCommandData({section}, kept, 4096); }).code();
    };
    EXPECT_NO_THROW(qvfl::splitCommandData({journal(500)}, {}, 4096));
    EXPECT_EQ(split(journal(499)), QVFLASH_ST_INVALID_JOURNAL_EVENTS_SIZE);
    EXPECT_EQ(split(journal(500), current({Section::Type::JournalEvents})), QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS);
    Section visible = journal(500);
    visible.accessState = Section::AccessState::ReadOnly;
    EXPECT_EQ(split(visible), QVFLASH_ST_INVALID_JOURNAL_ACCESS_RIGHTS);
    Section noReadOnly = journal(500);
    noReadOnly.conditions.insert_or_assign(Op::TemporaryReadOnly, forbidden());
    EXPECT_EQ(split(noReadOnly), QVFLASH_ST_JOURNAL_READ_ONLY_FORBIDDEN);
    Section open = journal(500);
    open.conditions.insert_or_assign(Op::Op4, rule(ProtectConditions::kAdmin));
    EXPECT_EQ(split(open), QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    Section five = journal(500);
    five.conditions.erase(Op::Op32);
    EXPECT_EQ(split(five), QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
}

TEST(SplitRules, ProtectConditionsAndSecretIds)
{
    const auto split = [](SecurAttr attr) {
        Section section = userSection(10);
        section.conditions.insert_or_assign(Op::Op1, attr);
        return thrownException([&] { qvfl::splitCommandData({section}, {}, 4096); });
    };
    const Exception twoKinds = split(rule(0x0C, 5));
    EXPECT_EQ(twoKinds.code(), QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
    EXPECT_EQ(twoKinds.conditions(), std::vector<Condition>{integer(QVFLASH_COND_PROTECT_CONDITIONS, 12)});
    EXPECT_EQ(split(rule(0x20)).code(), QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
    const Exception local = split(rule(0x06, 2));
    EXPECT_EQ(local.code(), QVFLASH_ST_INVALID_SECRET_ID);
    EXPECT_EQ(local.conditions(),
              (std::vector<Condition>{text(QVFLASH_COND_SECRET_ID_RANGE, "local PIN and MVA: [3, 31]"),
                                      integer(QVFLASH_COND_SECRET_ID, 2)}));
    EXPECT_EQ(split(rule(0x09, 0)).conditions(),
              (std::vector<Condition>{text(QVFLASH_COND_SECRET_ID_RANGE, "complex rule: [1, 31]"),
                                      integer(QVFLASH_COND_SECRET_ID, 0)}));
    EXPECT_EQ(split(rule(0x10, 15)).conditions()[0], text(QVFLASH_COND_SECRET_ID_RANGE, "key: [16, 31]"));
    EXPECT_EQ(split(rule(0x04)).conditions(), std::vector<Condition>{integer(QVFLASH_COND_SECRET_ID, 0)});
    EXPECT_EQ(split(rule(0x01, 9)).conditions(), std::vector<Condition>{integer(QVFLASH_COND_SECRET_ID, 9)});
    EXPECT_EQ(split(SecurAttr{AccessForbidden{}, 4}).conditions(),
              std::vector<Condition>{integer(QVFLASH_COND_SECRET_ID, 4)});
    Section empty = userSection(10);
    empty.conditions.insert_or_assign(Op::Op1, rule(0x00, 9)); // an empty rule may carry an id
    EXPECT_NO_THROW(qvfl::splitCommandData({empty}, {}, 4096));
}

TEST(AccessChangeRules, JournalAndEncryptedSections)
{
    using State = Section::AccessState;
    EXPECT_EQ(thrownException([] { qvfl::checkCdRomPermanent(State::CdRom, false); }).code(),
              QVFLASH_ST_CD_ROM_PERMANENT_ONLY);
    EXPECT_NO_THROW(qvfl::checkCdRomPermanent(State::CdRom, true));

    qvfl::SectionMap sections =
        current({Section::Type::UserFiles, Section::Type::JournalEvents, Section::Type::Encrypted});
    sections[3].accessState = State::Hidden;
    EXPECT_EQ(thrownException([&] { qvfl::checkAccessChange(sections, 9, State::ReadOnly, false); }).code(),
              QVFLASH_ST_INVALID_SECTION_ID);
    EXPECT_NO_THROW(qvfl::checkAccessChange(sections, 1, State::Hidden, true));
    EXPECT_NO_THROW(qvfl::checkAccessChange(sections, 2, State::ReadOnly, false));
    EXPECT_EQ(thrownException([&] { qvfl::checkAccessChange(sections, 2, State::ReadOnly, true); }).code(),
              QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    EXPECT_EQ(thrownException([&] { qvfl::checkAccessChange(sections, 2, State::Hidden, false); }).code(),
              QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    sections[3].accessState = State::ReadWrite;
    EXPECT_EQ(thrownException([&] { qvfl::checkAccessChange(sections, 2, State::ReadOnly, false); }).code(),
              QVFLASH_ST_JOURNAL_RO_ENCRYPTED_CONFLICT);
}
