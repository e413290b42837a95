#include <qvflash-core/convert/sectionConverters.h>

#include <qvflash-core/convert/argumentConverters.h>

#include <stdexcept>

namespace qvfl::convert {
namespace {

bool isKnownRule(std::uint32_t rule)
{
    return rule <= QVFLASH_RULE_ADMIN_OR_USER || rule == QVFLASH_RULE_FORBIDDEN;
}

bool isInputSecretType(qvflash_SecretType type)
{
    return type == QVFLASH_SECRET_NONE || type == QVFLASH_SECRET_MVA || type == QVFLASH_SECRET_LOCAL_PIN;
}

Section::Type toCoreSectionType(qvflash_SectionType type)
{
    switch (type) {
    case QVFLASH_SECTION_USER_FILES:
    case QVFLASH_SECTION_JOURNAL_EVENTS:
    case QVFLASH_SECTION_SECOND_JOURNAL:
    case QVFLASH_SECTION_ENCRYPTED:
        return static_cast<Section::Type>(type);
    }
    throw std::logic_error("Unknown qvflash_SectionType");
}

qvflash_SectionType toApiSectionType(Section::Type type)
{
    switch (type) {
    case Section::Type::UserFiles:
    case Section::Type::JournalEvents:
    case Section::Type::SecondJournal:
    case Section::Type::Encrypted:
        return static_cast<qvflash_SectionType>(type);
    }
    throw std::logic_error("Unknown Section::Type");
}

qvflash_SectionAccessState toApiAccessState(Section::AccessState state)
{
    switch (state) {
    case Section::AccessState::Hidden:
    case Section::AccessState::ReadOnly:
    case Section::AccessState::ReadWrite:
    case Section::AccessState::CdRom:
        return static_cast<qvflash_SectionAccessState>(state);
    }
    throw std::logic_error("Unknown Section::AccessState");
}

qvflash_PrConds toApiPrConds(const SecurAttr& attribute, const SecretTypeLookup& lookup)
{
    qvflash_PrConds result{};
    if (std::holds_alternative<AccessForbidden>(attribute.rule)) {
        result.rule = QVFLASH_RULE_FORBIDDEN;
        return result;
    }
    const ProtectConditions& rule = std::get<ProtectConditions>(attribute.rule);
    const bool admin = rule.has(ProtectConditions::kAdmin);
    const bool user = rule.has(ProtectConditions::kUser);
    result.rule = admin && user ? QVFLASH_RULE_ADMIN_OR_USER
                  : admin       ? QVFLASH_RULE_ADMIN
                  : user        ? QVFLASH_RULE_USER
                                : QVFLASH_RULE_NONE;
    if (attribute.secretId.has_value()) {
        result.secretId = *attribute.secretId;
        result.secretType = lookup(*attribute.secretId);
    }
    return result;
}

} // namespace

unsigned toApiSectionSecOp(Section::SwitchAccessOperations operation)
{
    for (unsigned index = 0; index < Section::kOperationCount; ++index) {
        if (Section::operationAt(index) == operation) {
            return index;
        }
    }
    throw std::logic_error("Unknown Section::SwitchAccessOperations!");
}

Section::AccessState toCoreAccessState(qvflash_SectionAccessState state)
{
    switch (state) {
    case QVFLASH_SECTION_HIDDEN:
    case QVFLASH_SECTION_READ_ONLY:
    case QVFLASH_SECTION_READ_WRITE:
    case QVFLASH_SECTION_CD_ROM:
        return static_cast<Section::AccessState>(state);
    }
    throw std::logic_error("Unknown qvflash_SectionAccessState");
}

std::optional<SecurAttr> toCoreSecAttr(const qvflash_PrConds& conditions, const SecretTypeLookup& lookup)
{
    if (!isKnownRule(conditions.rule) || !isInputSecretType(conditions.secretType)) {
        throw Exception(QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
    }
    if (conditions.rule == QVFLASH_RULE_FORBIDDEN) {
        if (conditions.secretId != 0 || conditions.secretType != QVFLASH_SECRET_NONE) {
            throw Exception(QVFLASH_ST_INVALID_PROTECT_CONDITIONS);
        }
        return SecurAttr{AccessForbidden{}, std::nullopt};
    }
    const bool admin = (conditions.rule & QVFLASH_RULE_ADMIN) != 0;
    const bool user = (conditions.rule & QVFLASH_RULE_USER) != 0;
    if (conditions.secretId == 0) {
        if (!admin && !user) {
            return std::nullopt;
        }
        return SecurAttr{ProtectConditions(admin, user, false, false, false, false, false, false), std::nullopt};
    }
    const std::uint8_t id = toCoreSecretId(conditions.secretId);
    if (lookup(id) != conditions.secretType) {
        throw Exception(QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH, {Condition(QVFLASH_COND_SECRET_ID, std::int64_t{id})});
    }
    return SecurAttr{ProtectConditions(admin, user, true, false, false, false, false, false), id};
}

Section toCoreSection(const qvflash_Section& section, const SecretTypeLookup& lookup)
{
    Section result;
    result.size = section.size;
    result.accessState = toCoreAccessState(section.accessState);
    result.type = toCoreSectionType(section.type);
    for (unsigned index = 0; index < Section::kOperationCount; ++index) {
        std::optional<SecurAttr> attribute = toCoreSecAttr(section.conditions[index], lookup);
        if (attribute.has_value()) {
            result.conditions.emplace(Section::operationAt(index), std::move(*attribute));
        }
    }
    return result;
}

qvflash_Section toApiSection(std::uint8_t id, const Section& section, const SecretTypeLookup& lookup)
{
    qvflash_Section result{};
    result.id = id;
    result.type = toApiSectionType(section.type);
    result.size = section.size;
    result.accessState = toApiAccessState(section.accessState);
    for (const auto& [operation, attribute] : section.conditions) {
        result.conditions[toApiSectionSecOp(operation)] = toApiPrConds(attribute, lookup);
    }
    return result;
}

} // namespace qvfl::convert
