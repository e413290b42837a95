#include <qvflash-core/sections/sectionRules.h>

#include <qvflash-core/local/secretIdRange.h>
#include <qvflash-core/sections/SectionTlv.h>

#include <set>
#include <string>

namespace qvfl {
namespace {

constexpr unsigned kMaxSections = 8;
constexpr std::uint32_t kMinJournalSize = 500;
// A journal section carries attributes for all six operations, or for all
// but the temporary switch to read-only.
constexpr std::size_t kMinJournalOperations = 5;

constexpr std::uint8_t kFirstComplexRuleId = 1;
constexpr std::uint8_t kFirstKeyId = 16;
constexpr std::uint8_t kLastSecretId = 31;

using Op = Section::SwitchAccessOperations;

Condition integer(qvflash_ConditionCode code, std::int64_t value)
{
    return Condition(code, value);
}

void checkJournalSection(const Section& section, bool journalExists)
{
    if (journalExists) {
        throw Exception(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS);
    }
    if (section.size < kMinJournalSize) {
        throw Exception(QVFLASH_ST_INVALID_JOURNAL_EVENTS_SIZE);
    }
    if (section.accessState != Section::AccessState::Hidden) {
        throw Exception(QVFLASH_ST_INVALID_JOURNAL_ACCESS_RIGHTS);
    }
    const std::size_t count = section.conditions.size();
    if (count < kMinJournalOperations ||
        (count == kMinJournalOperations && section.conditions.count(Op::TemporaryReadOnly) != 0)) {
        throw Exception(QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    }
}

void checkSecretRange(std::uint8_t id, std::uint8_t first, const char* rangeText)
{
    if (id < first || id > kLastSecretId) {
        throw secretIdOutOfRange(rangeText, id);
    }
}

void checkProtectConditions(const ProtectConditions& p, const std::optional<std::uint8_t>& id)
{
    if (!p.isValid()) {
        throw Exception(QVFLASH_ST_INVALID_PROTECT_CONDITIONS, {integer(QVFLASH_COND_PROTECT_CONDITIONS, p.value())});
    }
    const bool namesSecret = p.has(ProtectConditions::kLocalSecret) || p.has(ProtectConditions::kComplexRule) ||
                             p.has(ProtectConditions::kKey);
    if (!namesSecret) {
        // An empty rule may carry an id; the card ignores it.
        if (p.value() != 0 && id) {
            throw invalidSecretId(*id);
        }
        return;
    }
    if (!id) {
        throw invalidSecretId(0);
    }
    if (p.has(ProtectConditions::kLocalSecret)) {
        checkSecretRange(*id, kFirstLocalSecretId, kLocalSecretIdRangeText);
    } else if (p.has(ProtectConditions::kComplexRule)) {
        checkSecretRange(*id, kFirstComplexRuleId, "complex rule: [1, 31]");
    } else {
        checkSecretRange(*id, kFirstKeyId, "key: [16, 31]");
    }
}

void checkAttribute(Op operation, const SecurAttr& attr, bool journalEvents)
{
    const bool forbidden = std::holds_alternative<AccessForbidden>(attr.rule);
    if (journalEvents) {
        if (operation == Op::TemporaryReadOnly && forbidden) {
            throw Exception(QVFLASH_ST_JOURNAL_READ_ONLY_FORBIDDEN);
        }
        if (operation != Op::TemporaryReadOnly && !forbidden) {
            throw Exception(QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
        }
    }
    if (forbidden) {
        if (attr.secretId) {
            throw invalidSecretId(*attr.secretId);
        }
        return;
    }
    checkProtectConditions(std::get<ProtectConditions>(attr.rule), attr.secretId);
}

} // namespace

void checkSplitNotEmpty(const std::vector<Section>& sections)
{
    if (sections.empty()) {
        throw Exception(QVFLASH_ST_INVALID_SECTION_COUNT);
    }
}

void checkSectionCount(const std::vector<Section>& sections, const SectionMap& current)
{
    std::set<Section::Type> keptTypes;
    for (const auto& entry : current) {
        if (entry.second.type != Section::Type::UserFiles) {
            keptTypes.insert(entry.second.type);
        }
    }
    const unsigned maxCount = kMaxSections - static_cast<unsigned>(keptTypes.size());
    if (sections.size() > maxCount) {
        throw Exception(QVFLASH_ST_INVALID_SECTION_COUNT, {integer(QVFLASH_COND_MAX_SECTION_COUNT, maxCount)});
    }
}

std::vector<std::uint8_t> splitCommandData(const std::vector<Section>& sections, const SectionMap& current,
                                           std::uint32_t available)
{
    bool journalExists = false;
    for (const auto& entry : current) {
        journalExists = journalExists || entry.second.type == Section::Type::JournalEvents;
    }

    std::vector<std::uint8_t> data;
    std::uint64_t total = 0;
    std::uint8_t number = 0;
    for (const Section& section : sections) {
        // A size no size code can carry would reach the card truncated.
        if (section.size == 0 || section.size > available || section.size >= SectionTlv::kSizeLimit) {
            throw Exception(QVFLASH_ST_INVALID_SECTION_SIZE, {integer(QVFLASH_COND_SECTION_SIZE, section.size),
                                                              integer(QVFLASH_COND_AVAILABLE_FLASH_SIZE, available)});
        }
        if (section.type == Section::Type::SecondJournal || section.type == Section::Type::Encrypted) {
            throw Exception(QVFLASH_ST_UNSUPPORTED_SECTION_TYPE,
                            {integer(QVFLASH_COND_SECTION_TYPE, static_cast<std::int64_t>(section.type))});
        }
        const bool journalEvents = section.type == Section::Type::JournalEvents;
        if (journalEvents) {
            checkJournalSection(section, journalExists);
        }
        for (const auto& [operation, attr] : section.conditions) {
            checkAttribute(operation, attr, journalEvents);
        }
        total += section.size;
        if (total > available) {
            throw Exception(QVFLASH_ST_INVALID_SECTIONS_TOTAL_SIZE,
                            {integer(QVFLASH_COND_AVAILABLE_FLASH_SIZE, available)});
        }
        const std::vector<std::uint8_t> tlv = SectionTlv::formSectionTlv(++number, section);
        data.insert(data.end(), tlv.begin(), tlv.end());
    }
    return data;
}

void checkCdRomPermanent(Section::AccessState state, bool permanent)
{
    if (state == Section::AccessState::CdRom && !permanent) {
        throw Exception(QVFLASH_ST_CD_ROM_PERMANENT_ONLY);
    }
}

void checkAccessChange(const SectionMap& sections, std::uint8_t sectionId, Section::AccessState state, bool permanent)
{
    const auto found = sections.find(sectionId);
    if (found == sections.end()) {
        throw Exception(QVFLASH_ST_INVALID_SECTION_ID);
    }
    if (!found->second.isJournal()) {
        return;
    }
    if (state != Section::AccessState::ReadOnly || permanent) {
        throw Exception(QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    }
    for (const auto& entry : sections) {
        const Section& other = entry.second;
        if (other.type == Section::Type::Encrypted && (other.accessState == Section::AccessState::ReadOnly ||
                                                       other.accessState == Section::AccessState::ReadWrite)) {
            throw Exception(QVFLASH_ST_JOURNAL_RO_ENCRYPTED_CONFLICT);
        }
    }
}

} // namespace qvfl
