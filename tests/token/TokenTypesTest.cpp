#include "cli/CliError.h"
#include "cli/internalError.h"
#include "token/types/AccessMode.h"
#include "token/types/PinChangePolicy.h"
#include "token/types/SectionType.h"
#include "token/types/TouchMode.h"
#include "token/types/UserType.h"
#include "token/types/VolumeOwner.h"
#include "token/types/VolumeParams.h"
#include "token/types/checkOwnersCombination.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

template <typename T>
std::string write(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.fail() ? "<fail>" : out.str();
}

// The value read, or "<fail>" when the stream failed; a failed read must leave the target as
// it was.
template <typename T>
std::string readBack(const std::string& text, T initial = T{})
{
    std::istringstream in(text);
    T value = initial;
    if (!(in >> value)) {
        EXPECT_EQ(write(value), write(initial)) << "a failed read of '" << text << "' changed the target";
        return "<fail>";
    }
    return write(value);
}

template <typename E>
void expectTextForms(const std::vector<std::pair<E, std::string>>& forms, E spare)
{
    for (const auto& [value, text] : forms) {
        EXPECT_EQ(write(value), text);
        EXPECT_EQ(readBack<E>(text, value == spare ? forms.front().first : spare), text);
        EXPECT_EQ(toEnum<E>(text), value);
        std::string upper = text;
        upper[0] = static_cast<char>(std::toupper(upper[0]));
        EXPECT_FALSE(toEnum<E>(upper)) << upper;
        EXPECT_FALSE(toEnum<E>(text + " ")) << text;
    }
    EXPECT_EQ(write(static_cast<E>(forms.size())), "<fail>");
    EXPECT_FALSE(toString(static_cast<E>(-1)));
    EXPECT_EQ(readBack<E>("", spare), "<fail>");
}

TEST(TokenTypesTest, EnumTextFormsAreExactBothWays)
{
    expectTextForms<PinChangePolicy>(
        {{PinChangePolicy::So, "so"}, {PinChangePolicy::User, "user"}, {PinChangePolicy::Both, "both"}},
        PinChangePolicy::Both);
    expectTextForms<UserType>({{UserType::User, "user"}, {UserType::So, "so"}}, UserType::So);
    expectTextForms<AccessMode>({{AccessMode::Hidden, "h"},
                                 {AccessMode::ReadOnly, "r"},
                                 {AccessMode::ReadWrite, "rw"},
                                 {AccessMode::CdRom, "cd"}},
                                AccessMode::CdRom);
    expectTextForms<TouchMode>({{TouchMode::Discrete, "discrete"}, {TouchMode::Continuous, "continuous"}},
                               TouchMode::Continuous);
    expectTextForms<SectionType>({{SectionType::UserFiles, "user-files"}, {SectionType::Journal, "journal"}},
                                 SectionType::Journal);
}

TEST(TokenTypesTest, OwnerWordsReadOnlyWhatNamesAnObject)
{
    const std::pair<const char*, const char*> cases[] = {
        {"user", "user"},
        {"so", "so"},
        {"local-3", "local-3"},
        {"local-65535", "local-65535"},
        {"local-007", "local-7"},
        {"mva-0", "mva-0"},
        {"mva-65535", "mva-65535"},
        {"none", "none"},
        {"local-2", "<fail>"},
        {"local--5", "<fail>"},
        {"local-", "<fail>"},
        {"local-65536", "<fail>"},
        {"local-65539", "<fail>"},
        {"mva--1", "<fail>"},
        {"mva-65536", "<fail>"},
        {"mva-70000", "<fail>"},
        {"mva-", "<fail>"},
        {"User", "<fail>"},
        {"SO", "<fail>"},
        {"mixed", "<fail>"},
        {"unknown", "<fail>"},
        {"unknown-7", "<fail>"},
        {"local-99999999999999999999", "<fail>"},
        {"local-3x", "<fail>"},
        {"local-3O", "<fail>"},
        {"local-+3", "<fail>"},
        {"mva-5abc", "<fail>"},
        {"mva-+5", "<fail>"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(readBack<VolumeOwner>(text, VolumeOwner(UserType::So)), expected) << text;
    }
}

TEST(TokenTypesTest, OwnerListsNeedAnOwnerBetweenEveryComma)
{
    const std::pair<const char*, const char*> cases[] = {
        {"user,mva-5", "user,mva-5"}, {"user", "user"},       {"so,user,local-4", "so,user,local-4"},
        {"user,", "<fail>"},          {"user,,so", "<fail>"}, {",user", "<fail>"},
        {"user,bogus", "<fail>"},     {",", "<fail>"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(readBack<std::vector<VolumeOwner>>(text), expected) << text;
    }
}

TEST(TokenTypesTest, OwnersOnlyReadFromATokenHaveTextAndType)
{
    EXPECT_EQ(toString(UnknownOwner{7}), "unknown-7");
    EXPECT_EQ(toString(UnknownOwner{}), "unknown");
    EXPECT_EQ(toString(MixedOwner{}), "mixed");
    EXPECT_EQ(VolumeOwner(UnknownOwner{}).getType(), VolumeOwner::Type::Unknown);
    EXPECT_EQ(VolumeOwner(LocalUserId(3)).getType(), VolumeOwner::Type::LocalUser);
    EXPECT_THROW(VolumeOwner().getType(), UnknownVolumeOwnerError);
    EXPECT_THROW(toString(VolumeOwner()), UnknownVolumeOwnerError);
    EXPECT_THROW(VolumeOwner(static_cast<UserType>(2)).getType(), UnknownUserTypeError);
    EXPECT_THROW(LocalUserId(2), LocalUserIdValidationError);
}

TEST(TokenTypesTest, VolumeParamsReadSizeModeOwnersAndType)
{
    struct Case {
        const char* text;
        std::uint64_t size;
        AccessMode mode;
        const char* owners;
        SectionType type;
    };
    const Case readable[] = {
        {"1024:rw:user", 1024, AccessMode::ReadWrite, "user", SectionType::UserFiles},
        {"1024:rw:user,mva-5", 1024, AccessMode::ReadWrite, "user,mva-5", SectionType::UserFiles},
        {"64:r:none:journal", 64, AccessMode::ReadOnly, "none", SectionType::Journal},
        {"4294967295:cd:so:user-files", 4294967295u, AccessMode::CdRom, "so", SectionType::UserFiles},
    };
    for (const auto& c : readable) {
        std::istringstream in(c.text);
        VolumeParams params;
        ASSERT_TRUE(in >> params) << c.text;
        EXPECT_EQ(params.size, c.size) << c.text;
        EXPECT_EQ(params.accessMode, c.mode) << c.text;
        EXPECT_EQ(write(params.owners), c.owners) << c.text;
        EXPECT_EQ(params.sectionType, c.type) << c.text;
    }
    for (const char* text : {"1024:rw:user:journal:x", "1024:rw:user:x", "4294967296:rw:user", "4294967808:rw:user",
                             "-5:rw:user", "+5:rw:user", "5x:rw:user", "1024:rw", "1024:RW:user", "1024:rw:user,", "",
                             "512::rw:user", ":512:rw:user", "512:rw:user:", "512:rw::user", "512:rw:user::journal"}) {
        std::istringstream in(text);
        VolumeParams params{7, AccessMode::Hidden, {VolumeOwner(None{})}, SectionType::Journal};
        EXPECT_FALSE(in >> params) << text;
        EXPECT_EQ(params.size, 7u) << text;
        EXPECT_EQ(write(params.owners), "none") << text;
    }
}

TEST(TokenTypesTest, OwnerCombinations)
{
    const std::pair<std::vector<VolumeOwner>, bool> cases[] = {
        {{UserType::User, MvaId(1)}, true},
        {{MvaId(1), UserType::User}, true},
        {{None{}}, true},
        {{LocalUserId(3)}, true},
        {{MixedOwner{}}, false},
        {{UnknownOwner{}}, false},
        {{UnknownOwner{4}}, false},
        {{UserType::User, UserType::So}, false},
        {{MvaId(1), MvaId(2)}, false},
        {{LocalUserId(3), MvaId(1)}, false},
        {{UserType::User, MvaId(1), UserType::User}, false},
        {{}, false},
    };
    for (const auto& [owners, valid] : cases) {
        EXPECT_EQ(checkOwnersCombination(owners), valid) << write(owners);
    }
    EXPECT_THROW(checkOwnersCombination({VolumeOwner()}), UnknownVolumeOwnerError);
}

} // namespace
