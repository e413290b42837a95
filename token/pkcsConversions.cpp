#include "token/pkcsConversions.h"

#include "cli/DomainError.h"
#include "cli/internalError.h"
#include "token/CodeTable.h"

namespace {
const CodeTable<AccessMode, unsigned long, 4> accessModeCodes{{
    {AccessMode::Hidden, 0},
    {AccessMode::ReadOnly, 1},
    {AccessMode::ReadWrite, 3},
    {AccessMode::CdRom, 5},
}};

const CodeTable<UserType, quorvik::pkcs11::UserType, 2> userTypeCodes{{
    {UserType::User, quorvik::pkcs11::UserType::User},
    {UserType::So, quorvik::pkcs11::UserType::So},
}};

const CodeTable<TouchMode, unsigned long, 2> touchModeCodes{{
    {TouchMode::Discrete, 0},
    {TouchMode::Continuous, 1},
}};

// Owner codes of the module below the first local PIN id.
constexpr unsigned long kSoOwner = CKU_SO;
constexpr unsigned long kUserOwner = CKU_USER;
} // namespace

unsigned long toPkcs(AccessMode mode)
{
    return orThrow<UnknownAccessModeError>(codeOf(accessModeCodes, mode));
}

AccessMode fromPkcs(unsigned long accessMode)
{
    return orThrow<UnknownAccessModeError>(valueOfCode(accessModeCodes, accessMode));
}

quorvik::pkcs11::UserType toPkcs(UserType user)
{
    return orThrow<UnknownUserTypeError>(codeOf(userTypeCodes, user));
}

unsigned long toPkcs(TouchMode mode)
{
    return orThrow<UnknownTouchModeError>(codeOf(touchModeCodes, mode));
}

TouchMode fromPkcsTouchMode(unsigned long mode)
{
    return orThrow<UnknownTouchModeError>(valueOfCode(touchModeCodes, mode));
}

unsigned long toPkcs(const LocalUserId& id)
{
    return id.get();
}

unsigned long toPkcs(const VolumeOwner& owner)
{
    switch (owner.getType()) {
    case VolumeOwner::Type::User:
        return kUserOwner;
    case VolumeOwner::Type::So:
        return kSoOwner;
    case VolumeOwner::Type::LocalUser:
        return toPkcs(std::get<LocalUserId>(owner.value()));
    case VolumeOwner::Type::Mva:
        throw NoMvaSupportError();
    case VolumeOwner::Type::None:
        throw NoneOwnerNotAllowedError();
    case VolumeOwner::Type::Mixed:
    case VolumeOwner::Type::Unknown:
        break;
    }
    throw UnknownVolumeOwnerError();
}

VolumeOwner fromPkcsVolumeOwner(unsigned long code)
{
    switch (code) {
    case kSoOwner:
        return UserType::So;
    case kUserOwner:
        return UserType::User;
    case 2:
        throw UnknownVolumeOwnerError();
    default:
        return LocalUserId(static_cast<std::uint16_t>(code));
    }
}

CK_VOLUME_FORMAT_INFO_EXTENDED toPkcs(const VolumeParams& params)
{
    if (params.sectionType == SectionType::Journal) {
        throw NoJournalSupportError();
    }
    if (params.sectionType != SectionType::UserFiles) {
        throw UnknownSectionTypeError();
    }
    // An empty list has no owner to convert, as much as a longer one has too many.
    if (params.owners.size() != 1) {
        throw InvalidVolumeOwnerCombinationError();
    }
    return {params.size, toPkcs(params.accessMode), toPkcs(params.owners.front()), 0};
}
