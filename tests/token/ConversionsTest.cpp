#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "cli/internalError.h"
#include "flash/PrConds.h"
#include "token/pkcsConversions.h"
#include "token/qvflashConversions.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

using quorvik::qvflash::kForbidden;
using quorvik::qvflash::kUnprotected;

std::string text(const std::vector<VolumeOwner>& owners)
{
    std::ostringstream out;
    out << owners;
    return out.str();
}

TEST(ConversionsTest, CodesBothWaysAndValuesWithoutCounterpart)
{
    const std::tuple<AccessMode, unsigned long, qvflash_SectionAccessState> accessModes[] = {
        {AccessMode::Hidden, 0, QVFLASH_SECTION_HIDDEN},
        {AccessMode::ReadOnly, 1, QVFLASH_SECTION_READ_ONLY},
        {AccessMode::ReadWrite, 3, QVFLASH_SECTION_READ_WRITE},
        {AccessMode::CdRom, 5, QVFLASH_SECTION_CD_ROM},
    };
    for (const auto& [mode, pkcs, flash] : accessModes) {
        EXPECT_EQ(toPkcs(mode), pkcs);
        EXPECT_EQ(fromPkcs(pkcs), mode);
        EXPECT_EQ(toQvflash(mode), flash);
        EXPECT_EQ(fromQvflash(flash), mode);
    }
    for (unsigned long code : {2ul, 4ul, 6ul}) {
        EXPECT_THROW(fromPkcs(code), UnknownAccessModeError) << code;
        EXPECT_THROW(fromQvflash(static_cast<qvflash_SectionAccessState>(code)), UnknownAccessModeError) << code;
    }
    EXPECT_THROW(toPkcs(static_cast<AccessMode>(4)), UnknownAccessModeError);
    EXPECT_THROW(toQvflash(static_cast<AccessMode>(4)), UnknownAccessModeError);

    EXPECT_EQ(toPkcs(UserType::User), quorvik::pkcs11::UserType::User);
    EXPECT_EQ(toPkcs(UserType::So), quorvik::pkcs11::UserType::So);
    EXPECT_EQ(toQvflash(UserType::User), quorvik::qvflash::UserType::User);
    EXPECT_EQ(toQvflash(UserType::So), quorvik::qvflash::UserType::Admin);
    EXPECT_THROW(toPkcs(static_cast<UserType>(2)), UnknownUserTypeError);
    EXPECT_THROW(toQvflash(static_cast<UserType>(-1)), UnknownUserTypeError);

    EXPECT_EQ(toPkcs(TouchMode::Discrete), 0u);
    EXPECT_EQ(toPkcs(TouchMode::Continuous), 1u);
    EXPECT_EQ(fromPkcsTouchMode(1), TouchMode::Continuous);
    EXPECT_THROW(fromPkcsTouchMode(7), UnknownTouchModeError);
    EXPECT_THROW(toPkcs(static_cast<TouchMode>(2)), UnknownTouchModeError);

    EXPECT_EQ(fromQvflash(QVFLASH_SECTION_USER_FILES), SectionType::UserFiles);
    EXPECT_EQ(fromQvflash(QVFLASH_SECTION_JOURNAL_EVENTS), SectionType::Journal);
    EXPECT_FALSE(fromQvflash(QVFLASH_SECTION_SECOND_JOURNAL));
    EXPECT_FALSE(fromQvflash(QVFLASH_SECTION_ENCRYPTED));
    EXPECT_THROW(fromQvflash(static_cast<qvflash_SectionType>(4)), UnknownSectionTypeError);
}

TEST(ConversionsTest, PkcsOwnersAndVolumes)
{
    EXPECT_EQ(toPkcs(VolumeOwner(UserType::User)), 1u);
    EXPECT_EQ(toPkcs(VolumeOwner(UserType::So)), 0u);
    EXPECT_EQ(toPkcs(VolumeOwner(LocalUserId(7))), 7u);
    EXPECT_THROW(toPkcs(VolumeOwner(MvaId(1))), NoMvaSupportError);
    EXPECT_THROW(toPkcs(VolumeOwner(None{})), NoneOwnerNotAllowedError);
    for (const auto& owner : {VolumeOwner(), VolumeOwner(MixedOwner{}), VolumeOwner(UnknownOwner{3})}) {
        EXPECT_THROW(toPkcs(owner), UnknownVolumeOwnerError);
    }

    const std::pair<unsigned long, const char*> owners[] = {
        {0, "so"}, {1, "user"}, {3, "local-3"}, {31, "local-31"}, {65539, "local-3"}};
    for (const auto& [code, expected] : owners) {
        EXPECT_EQ(toString(fromPkcsVolumeOwner(code)), expected) << code;
    }
    EXPECT_THROW(fromPkcsVolumeOwner(2), UnknownVolumeOwnerError);

    const auto volume = toPkcs(VolumeParams{1024, AccessMode::ReadWrite, {LocalUserId(4)}, SectionType::UserFiles});
    EXPECT_EQ(volume.sizeMb, 1024u);
    EXPECT_EQ(volume.accessMode, 3u);
    EXPECT_EQ(volume.owner, 4u);
    EXPECT_EQ(volume.flags, 0u);
    EXPECT_THROW(toPkcs(VolumeParams{64, AccessMode::ReadOnly, {UserType::User}, SectionType::Journal}),
                 NoJournalSupportError);
    EXPECT_THROW(toPkcs(VolumeParams{64, AccessMode::ReadOnly, {UserType::User, MvaId(1)}, SectionType::UserFiles}),
                 InvalidVolumeOwnerCombinationError);
    EXPECT_THROW(toPkcs(VolumeParams{64, AccessMode::ReadOnly, {}, SectionType::UserFiles}),
                 InvalidVolumeOwnerCombinationError);
}

TEST(ConversionsTest, FlashOwnersReadBackAsWritten)
{
    const std::tuple<std::vector<VolumeOwner>, SectionType, qvflash_PrConds, const char*> cases[] = {
        {{UserType::User, MvaId(5)}, SectionType::UserFiles, {2, 5, 0, QVFLASH_SECRET_MVA}, "user,mva-5"},
        {{UserType::So, UserType::User}, SectionType::UserFiles, {3, 0, 0, QVFLASH_SECRET_NONE}, "user,so"},
        {{UserType::User, UserType::So}, SectionType::UserFiles, {3, 0, 0, QVFLASH_SECRET_NONE}, "user,so"},
        {{UserType::So, LocalUserId(4)}, SectionType::UserFiles, {1, 4, 0, QVFLASH_SECRET_LOCAL_PIN}, "so,local-4"},
        {{MvaId(9)}, SectionType::UserFiles, {0, 9, 0, QVFLASH_SECRET_MVA}, "mva-9"},
        {{None{}}, SectionType::UserFiles, kUnprotected, "none"},
        {{UserType::User}, SectionType::Journal, {2, 0, 0, QVFLASH_SECRET_NONE}, "user"},
        {{None{}}, SectionType::Journal, kUnprotected, "none"},
    };
    for (const auto& [owners, type, condition, expected] : cases) {
        const auto section = toQvflash(VolumeParams{64, AccessMode::ReadOnly, owners, type});
        EXPECT_EQ(section.type, static_cast<qvflash_SectionType>(type)) << expected;
        for (std::size_t i = 0; i < QVFLASH_SECTION_OPERATIONS; ++i) {
            const bool owned = type == SectionType::UserFiles || i == 1;
            EXPECT_EQ(section.conditions[i], owned ? condition : kForbidden) << expected << " switch " << i;
        }
        EXPECT_EQ(text(fromQvflashVolumeOwners(section)), expected);
    }
    EXPECT_EQ(toQvflash(VolumeParams{4294967808u, AccessMode::ReadWrite, {UserType::User}}).size, 512u);
    for (const auto& owners : std::vector<std::vector<VolumeOwner>>{
             {UserType::User, None{}}, {MixedOwner{}}, {UnknownOwner{}}, {UserType::User, UnknownOwner{4}}}) {
        EXPECT_THROW(toQvflash(VolumeParams{64, AccessMode::Hidden, owners}), InvalidVolumeOwnerError) << text(owners);
    }
    EXPECT_THROW(toQvflash(VolumeParams{64, AccessMode::Hidden, {UserType::User}, static_cast<SectionType>(2)}),
                 UnknownSectionTypeError);
}

TEST(ConversionsTest, FlashSectionsTheToolCannotNameReadAsMixedOrUnknown)
{
    const auto section = [](qvflash_SectionType type, const qvflash_PrConds& all,
                            const std::function<void(qvflash_Section&)>& change = {}) {
        qvflash_Section made{};
        made.type = type;
        std::fill(std::begin(made.conditions), std::end(made.conditions), all);
        if (change) {
            change(made);
        }
        return made;
    };
    const qvflash_PrConds user{2, 0, 0, QVFLASH_SECRET_NONE};
    const std::pair<qvflash_Section, const char*> cases[] = {
        {section(QVFLASH_SECTION_USER_FILES, user, [](auto& s) { s.conditions[4].rule = 1; }), "mixed"},
        {section(QVFLASH_SECTION_USER_FILES, kForbidden), "unknown"},
        {section(QVFLASH_SECTION_JOURNAL_EVENTS, kForbidden), "unknown"},
        {section(QVFLASH_SECTION_JOURNAL_EVENTS, kForbidden, [&](auto& s) { s.conditions[1] = user; }), "user"},
        {section(QVFLASH_SECTION_JOURNAL_EVENTS, user), "mixed"},
        {section(QVFLASH_SECTION_ENCRYPTED, user), "unknown"},
        {section(QVFLASH_SECTION_USER_FILES, {2, 9, 0, QVFLASH_SECRET_NOT_FOUND}), "user,unknown-9"},
        {section(QVFLASH_SECTION_USER_FILES, {7, 9, 0, static_cast<qvflash_SecretType>(8)}), "unknown"},
    };
    for (const auto& [made, expected] : cases) {
        EXPECT_EQ(text(fromQvflashVolumeOwners(made)), expected);
    }
    EXPECT_THROW(fromQvflashVolumeOwners(section(QVFLASH_SECTION_USER_FILES, {0, 2, 0, QVFLASH_SECRET_LOCAL_PIN})),
                 LocalUserIdValidationError);
}

} // namespace
