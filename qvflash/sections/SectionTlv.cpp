#include <qvflash-core/sections/SectionTlv.h>

#include <qvflash-core/apdu/TLV.h>

#include <array>
#include <string>

namespace qvfl::SectionTlv {
namespace {

// Offsets inside the whole TLV (tag at 0).
constexpr std::size_t kNumber = 2;
constexpr std::size_t kAccess = 3;
constexpr std::size_t kSizeValue = 4;
constexpr std::size_t kTypeByte = 6;
constexpr std::size_t kMask = 7;
constexpr std::size_t kConditionBytes = 8;
constexpr std::size_t kSecretBytes = 15;
// The same two blocks, counted from the mask (the bytes parseSectSecurAttrs takes).
constexpr std::size_t kConditionsFromMask = kConditionBytes - kMask;
constexpr std::size_t kSecretsFromMask = kSecretBytes - kMask;

constexpr std::uint8_t kAccessStateBits = 0x07;
constexpr std::uint8_t kSizeCodeShift = 3;
constexpr std::uint8_t kSizeCodeBits = 0x03;
constexpr std::uint8_t kEncryptedBit = 0x40;
constexpr std::uint8_t kJournalEventsByte = 0x01;
constexpr std::uint8_t kSecondJournalByte = 0x02;

constexpr std::uint8_t kForbidden = 0xFF;
// Condition byte as the card keeps it: admin, user, local secret or complex
// rule, key. The secret byte's bit 7 tells a complex rule from a local secret.
constexpr std::uint8_t kCardRoles = 0x03;
constexpr std::uint8_t kCardLocalOrComplex = 0x04;
constexpr std::uint8_t kCardKey = 0x08;
constexpr std::uint8_t kComplexRuleMark = 0x80;

// One table both ways: the card scales the two-byte size value by the
// multiplier of the size code.
constexpr std::array<std::uint32_t, 4> kSizeMultipliers{1, 8, 16, 32};
constexpr std::uint32_t kSizeValues = 0x10000;
static_assert(kSizeLimit == kSizeValues * kSizeMultipliers.back());

Exception flashInfoError(const char* text)
{
    return Exception(QVFLASH_ST_UNEXPECTED_APDU_RESPONSE,
                     {Condition(QVFLASH_COND_TLV_PARSING_ERROR, std::string(text))});
}

// The smallest code whose scaled value fits two bytes; the remainder of the
// division is dropped.
std::uint8_t sizeCode(std::uint32_t size)
{
    for (std::uint8_t code = 0; code < kSizeMultipliers.size(); ++code) {
        if (size < kSizeValues * kSizeMultipliers[code]) {
            return code;
        }
    }
    throw Exception(QVFLASH_ST_INVALID_SECTION_SIZE,
                    {Condition(QVFLASH_COND_SECTION_SIZE, static_cast<std::int64_t>(size))});
}

Section::AccessState accessState(std::uint8_t accessByte)
{
    switch (accessByte & kAccessStateBits) {
    case 0:
        return Section::AccessState::Hidden;
    case 1:
        return Section::AccessState::ReadOnly;
    case 3:
        return Section::AccessState::ReadWrite;
    case 5:
        return Section::AccessState::CdRom;
    default:
        throw flashInfoError("invalid access rights byte value");
    }
}

Section::Type sectionType(std::uint8_t typeByte, std::uint8_t accessByte)
{
    if (typeByte == kJournalEventsByte) {
        return Section::Type::JournalEvents;
    }
    if (typeByte == kSecondJournalByte) {
        return Section::Type::SecondJournal;
    }
    return (accessByte & kEncryptedBit) != 0 ? Section::Type::Encrypted : Section::Type::UserFiles;
}

std::uint8_t conditionByte(const SecurAttr& attr)
{
    if (std::holds_alternative<AccessForbidden>(attr.rule)) {
        return kForbidden;
    }
    const ProtectConditions& p = std::get<ProtectConditions>(attr.rule);
    std::uint8_t c = p.value() & kCardRoles;
    if (p.has(ProtectConditions::kLocalSecret) || p.has(ProtectConditions::kComplexRule)) {
        c |= kCardLocalOrComplex;
    }
    if (p.has(ProtectConditions::kKey)) {
        c |= kCardKey;
    }
    return c;
}

std::uint8_t secretByte(const SecurAttr& attr)
{
    if (std::holds_alternative<AccessForbidden>(attr.rule) || !attr.secretId) {
        return 0;
    }
    const ProtectConditions& p = std::get<ProtectConditions>(attr.rule);
    return p.has(ProtectConditions::kComplexRule) ? static_cast<std::uint8_t>(*attr.secretId | kComplexRuleMark)
                                                  : *attr.secretId;
}

} // namespace

std::vector<std::uint8_t> formSectionTlv(std::uint8_t number, const Section& section)
{
    const std::uint8_t code = sizeCode(section.size);
    std::vector<std::uint8_t> tlv(kSize, 0);
    tlv[0] = kTag;
    tlv[1] = static_cast<std::uint8_t>(kValueSize);
    tlv[kNumber] = number;
    tlv[kAccess] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(section.accessState) |
                                             (section.type == Section::Type::Encrypted ? kEncryptedBit : 0) |
                                             (code << kSizeCodeShift));
    const std::uint32_t value = section.size / kSizeMultipliers[code];
    tlv[kSizeValue] = static_cast<std::uint8_t>(value >> 8);
    tlv[kSizeValue + 1] = static_cast<std::uint8_t>(value);
    if (section.type == Section::Type::JournalEvents) {
        tlv[kTypeByte] = kJournalEventsByte;
    } else if (section.type == Section::Type::SecondJournal) {
        tlv[kTypeByte] = kSecondJournalByte;
    }
    for (unsigned i = 0; i < Section::kOperationCount; ++i) {
        const auto found = section.conditions.find(Section::operationAt(i));
        if (found == section.conditions.end()) {
            continue;
        }
        tlv[kMask] = static_cast<std::uint8_t>(tlv[kMask] | (1U << i));
        tlv[kConditionBytes + i] = conditionByte(found->second);
        tlv[kSecretBytes + i] = secretByte(found->second);
    }
    return tlv;
}

SectionMap parseSections(const std::vector<std::uint8_t>& response)
{
    SectionMap sections;
    for (const TLV& tlv : parseTLVStructs(response.begin(), response.end(), TlvType::Ber)) {
        if (tlv.tag != kTag || tlv.size() != kValueSize) {
            throw flashInfoError("invalid structure with information about flash memory");
        }
        // Whole-TLV offsets: the value starts two bytes in.
        std::vector<std::uint8_t> bytes{tlv.tag, static_cast<std::uint8_t>(kValueSize)};
        bytes.insert(bytes.end(), tlv.begin, tlv.end);

        Section section;
        const std::uint8_t accessByte = bytes[kAccess];
        section.accessState = accessState(accessByte);
        const std::uint32_t value = (static_cast<std::uint32_t>(bytes[kSizeValue]) << 8) | bytes[kSizeValue + 1];
        section.size = value * kSizeMultipliers[(accessByte >> kSizeCodeShift) & kSizeCodeBits];
        section.type = sectionType(bytes[kTypeByte], accessByte);
        section.conditions =
            parseSectSecurAttrs(std::vector<std::uint8_t>(bytes.begin() + kMask, bytes.end()), section.isJournal());
        sections[bytes[kNumber]] = section;
    }
    return sections;
}

std::map<Section::SwitchAccessOperations, SecurAttr> parseSectSecurAttrs(const std::vector<std::uint8_t>& bytes,
                                                                         bool journal)
{
    std::map<Section::SwitchAccessOperations, SecurAttr> conditions;
    const std::uint8_t mask = bytes.at(0);
    for (unsigned i = 0; i < Section::kOperationCount; ++i) {
        if ((mask & (1U << i)) == 0) {
            continue;
        }
        const Section::SwitchAccessOperations operation = Section::operationAt(i);
        SecurAttr attr = parseSecurAttr(bytes.at(kConditionsFromMask + i), bytes.at(kSecretsFromMask + i));
        if (journal && operation != Section::SwitchAccessOperations::TemporaryReadOnly &&
            !std::holds_alternative<AccessForbidden>(attr.rule)) {
            throw Exception(QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
        }
        conditions.emplace(operation, std::move(attr));
    }
    return conditions;
}

SecurAttr parseSecurAttr(std::uint8_t c, std::uint8_t s)
{
    if (c == kForbidden) {
        return SecurAttr{AccessForbidden{}, std::nullopt};
    }
    const bool localOrComplex = (c & kCardLocalOrComplex) != 0;
    const bool key = (c & kCardKey) != 0;
    if (localOrComplex && key) {
        throw Exception(QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
    }
    std::uint8_t p = c & kCardRoles;
    std::optional<std::uint8_t> secretId;
    if (localOrComplex) {
        const bool complex = (s & kComplexRuleMark) != 0;
        p |= complex ? ProtectConditions::kComplexRule : ProtectConditions::kLocalSecret;
        secretId = static_cast<std::uint8_t>(s & ~kComplexRuleMark);
    } else if (key) {
        p |= ProtectConditions::kKey;
        secretId = s;
    }
    return SecurAttr{ProtectConditions::fromByte(p), secretId};
}

} // namespace qvfl::SectionTlv
