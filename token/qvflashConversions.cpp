#include "token/qvflashConversions.h"

#include "cli/internalError.h"
#include "flash/PrConds.h"
#include "token/CodeTable.h"

#include <algorithm>
#include <iterator>

using quorvik::qvflash::kForbidden;
using quorvik::qvflash::kUnprotected;

namespace {
const CodeTable<AccessMode, qvflash_SectionAccessState, 4> accessStateCodes{{
    {AccessMode::Hidden, QVFLASH_SECTION_HIDDEN},
    {AccessMode::ReadOnly, QVFLASH_SECTION_READ_ONLY},
    {AccessMode::ReadWrite, QVFLASH_SECTION_READ_WRITE},
    {AccessMode::CdRom, QVFLASH_SECTION_CD_ROM},
}};

const CodeTable<UserType, quorvik::qvflash::UserType, 2> userTypeCodes{{
    {UserType::User, quorvik::qvflash::UserType::User},
    {UserType::So, quorvik::qvflash::UserType::Admin},
}};

const CodeTable<SectionType, qvflash_SectionType, 2> sectionTypeCodes{{
    {SectionType::UserFiles, QVFLASH_SECTION_USER_FILES},
    {SectionType::Journal, QVFLASH_SECTION_JOURNAL_EVENTS},
}};

// The journal's only switch its owners protect: the one to read-only.
constexpr std::size_t kJournalOwnedSwitch = 1;

void addOwner(qvflash_PrConds& condition, const VolumeOwner& owner)
{
    switch (owner.getType()) {
    case VolumeOwner::Type::So:
        condition.rule = condition.rule == QVFLASH_RULE_USER ? QVFLASH_RULE_ADMIN_OR_USER : QVFLASH_RULE_ADMIN;
        return;
    case VolumeOwner::Type::User:
        condition.rule = condition.rule == QVFLASH_RULE_ADMIN ? QVFLASH_RULE_ADMIN_OR_USER : QVFLASH_RULE_USER;
        return;
    case VolumeOwner::Type::LocalUser:
        condition.secretId = std::get<LocalUserId>(owner.value()).get();
        condition.secretType = QVFLASH_SECRET_LOCAL_PIN;
        return;
    case VolumeOwner::Type::Mva:
        condition.secretId = std::get<MvaId>(owner.value()).get();
        condition.secretType = QVFLASH_SECRET_MVA;
        return;
    case VolumeOwner::Type::None:
    case VolumeOwner::Type::Mixed:
    case VolumeOwner::Type::Unknown:
        break;
    }
    throw InvalidVolumeOwnerError();
}

qvflash_PrConds ownersCondition(const std::vector<VolumeOwner>& owners)
{
    qvflash_PrConds condition = kUnprotected;
    if (owners.size() == 1 && owners.front().getType() == VolumeOwner::Type::None) {
        return condition;
    }
    for (const auto& owner : owners) {
        addOwner(condition, owner);
    }
    return condition;
}

// The one condition that stands for the section's owners, or the owner it reads as when
// there is none.
std::optional<qvflash_PrConds> ownedCondition(const qvflash_Section& section, VolumeOwner& otherwise)
{
    const auto& conditions = section.conditions;
    switch (section.type) {
    case QVFLASH_SECTION_USER_FILES:
        if (std::all_of(std::begin(conditions), std::end(conditions),
                        [&](const qvflash_PrConds& condition) { return condition == conditions[0]; })) {
            return conditions[0];
        }
        otherwise = MixedOwner{};
        return std::nullopt;
    case QVFLASH_SECTION_JOURNAL_EVENTS:
        for (std::size_t i = 0; i < std::size(conditions); ++i) {
            if (i != kJournalOwnedSwitch && conditions[i] != kForbidden) {
                otherwise = MixedOwner{};
                return std::nullopt;
            }
        }
        return conditions[kJournalOwnedSwitch];
    default:
        otherwise = UnknownOwner{};
        return std::nullopt;
    }
}

void addSecretOwner(std::vector<VolumeOwner>& owners, const qvflash_PrConds& condition)
{
    switch (condition.secretType) {
    case QVFLASH_SECRET_NONE:
        return;
    case QVFLASH_SECRET_MVA:
        owners.emplace_back(MvaId(condition.secretId));
        return;
    case QVFLASH_SECRET_LOCAL_PIN:
        owners.emplace_back(LocalUserId(condition.secretId));
        return;
    case QVFLASH_SECRET_NOT_FOUND:
        owners.emplace_back(UnknownOwner{condition.secretId});
        return;
    }
    owners.emplace_back(UnknownOwner{});
}
} // namespace

qvflash_SectionAccessState toQvflash(AccessMode mode)
{
    return orThrow<UnknownAccessModeError>(codeOf(accessStateCodes, mode));
}

AccessMode fromQvflash(qvflash_SectionAccessState state)
{
    return orThrow<UnknownAccessModeError>(valueOfCode(accessStateCodes, state));
}

quorvik::qvflash::UserType toQvflash(UserType user)
{
    return orThrow<UnknownUserTypeError>(codeOf(userTypeCodes, user));
}

std::optional<SectionType> fromQvflash(qvflash_SectionType type)
{
    if (type > QVFLASH_SECTION_ENCRYPTED) {
        throw UnknownSectionTypeError();
    }
    return valueOfCode(sectionTypeCodes, type);
}

qvflash_MvaParams toQvflash(const CreateMvaParams& params)
{
    return {static_cast<std::uint8_t>(params.maxRecordCount), static_cast<std::uint8_t>(params.maxRecordSize),
            static_cast<std::uint8_t>(params.attempts)};
}

qvflash_Section toQvflash(const VolumeParams& params)
{
    qvflash_Section section{};
    section.accessState = toQvflash(params.accessMode);
    section.size = static_cast<std::uint32_t>(params.size);
    section.type = orThrow<UnknownSectionTypeError>(codeOf(sectionTypeCodes, params.sectionType));
    const auto condition = ownersCondition(params.owners);
    for (auto& operation : section.conditions) {
        operation = params.sectionType == SectionType::Journal ? kForbidden : condition;
    }
    section.conditions[kJournalOwnedSwitch] = condition;
    return section;
}

std::vector<VolumeOwner> fromQvflashVolumeOwners(const qvflash_Section& section)
{
    VolumeOwner otherwise;
    const auto condition = ownedCondition(section, otherwise);
    if (!condition) {
        return {otherwise};
    }
    if (*condition == kUnprotected) {
        return {None{}};
    }
    if (*condition == kForbidden) {
        return {UnknownOwner{}};
    }
    std::vector<VolumeOwner> owners;
    if (condition->rule == QVFLASH_RULE_ADMIN_OR_USER || condition->rule == QVFLASH_RULE_USER) {
        owners.emplace_back(UserType::User);
    }
    if (condition->rule == QVFLASH_RULE_ADMIN_OR_USER || condition->rule == QVFLASH_RULE_ADMIN) {
        owners.emplace_back(UserType::So);
    }
    addSecretOwner(owners, *condition);
    return owners;
}
