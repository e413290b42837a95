// One virtual token through both of its roads at once: the stand-in module in process and the
// virtual card through the real pcscd, read with the flash library.
#include "PcscTestClient.h"
#include "VirtualTokens.h"

#include "pkcs11/Pkcs11Interface.h"
#include "qvflash.h"

#include <qvtoken-core/TokenPresets.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace qvcardtest {
namespace {

using namespace std::chrono_literals;

// id, size, access, owner code (module) or the first operation's rule, secret id and type (card).
using Volume = std::tuple<unsigned long, unsigned long, unsigned long, unsigned long>;
using Section = std::tuple<unsigned, unsigned, unsigned, unsigned, unsigned, unsigned>;

std::string run(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 512> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr)
        output += buffer.data();
    return output;
}

qvflash_String text(const std::string& value)
{
    return {value.size(), value.data()};
}

class BothRoads : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The cards of the tests before must have left: a token of theirs in a reader would
        // answer for its serial.
        ASSERT_TRUE(client.waitForNoCard(15s));
        ASSERT_EQ(C_GetFunctionList(&f), CKR_OK);
        ASSERT_EQ(C_EX_GetFunctionListExtended(&x), CKR_OK);
    }
    void TearDown() override
    {
        f->C_Finalize(nullptr);
        if (flash != nullptr)
            qvflash_destroy_token(&flash);
        client.disconnect();
        tokens.removeAll();
        EXPECT_TRUE(client.waitForNoCard(15s));
    }

    void plugged(std::uint64_t serial)
    {
        ASSERT_FALSE(client.waitForToken(serial, 10s).empty()) << "token " << serial << " never showed up";
        client.disconnect();
    }
    void startModule()
    {
        CK_C_INITIALIZE_ARGS args{};
        args.flags = CKF_OS_LOCKING_OK;
        ASSERT_EQ(f->C_Initialize(&args), CKR_OK);
    }
    std::vector<Volume> volumes(CK_SLOT_ID slot)
    {
        CK_ULONG count = 0;
        EXPECT_EQ(x->C_EX_GetVolumesInfo(slot, nullptr, &count), CKR_OK);
        std::vector<CK_VOLUME_INFO_EXTENDED> list(count);
        EXPECT_EQ(x->C_EX_GetVolumesInfo(slot, list.data(), &count), CKR_OK);
        std::vector<Volume> result;
        for (const auto& v : list)
            result.emplace_back(v.id, v.sizeMb, v.accessMode, v.owner);
        return result;
    }
    // The sections as the flash library reads them; every operation must carry the first one's
    // conditions, as both roads write single-owner sections.
    std::vector<Section> sections()
    {
        qvflash_Section* list = nullptr;
        size_t count = 0;
        EXPECT_EQ(qvflash_create_section_list(flash, &list, &count), QVFLASH_ST_OK);
        std::vector<Section> result;
        for (size_t i = 0; i < count; ++i) {
            const auto& s = list[i];
            for (const auto& c : s.conditions) {
                EXPECT_EQ(c.rule, s.conditions[0].rule);
                EXPECT_EQ(c.secretId, s.conditions[0].secretId);
            }
            result.emplace_back(s.id, s.size, s.accessState, s.conditions[0].rule, s.conditions[0].secretId,
                                s.conditions[0].secretType);
        }
        qvflash_destroy_section_list(&list);
        return result;
    }
    CK_RV changeVolume(CK_SLOT_ID slot, CK_ULONG owner, const std::string& pin, CK_ULONG volume, CK_ULONG mode,
                       bool permanent)
    {
        auto* bytes = reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(pin.data()));
        return x->C_EX_ChangeVolumeAttributes(slot, owner, bytes, pin.size(), volume, mode, permanent);
    }

    CK_FUNCTION_LIST_PTR f = nullptr;
    CK_FUNCTION_LIST_EXTENDED_PTR x = nullptr;
    qvflash_TokenImpl_* flash = nullptr;
    VirtualTokens tokens;
    PcscTestClient client;
};

TEST_F(BothRoads, LayoutAndTemporaryStatesWrittenOnEitherRoadReadBackOnTheOther)
{
    constexpr std::uint64_t serial = 61;
    const std::string localPin = "13572468";
    tokens.add(serial, [](qvtoken::TokenState& t) { t.drive = qvtoken::makePreset("full").drive; });
    plugged(serial);
    startModule();
    ASSERT_EQ(qvflash_create_token(serial, &flash), QVFLASH_ST_OK);
    ASSERT_EQ(qvflash_login_admin(flash, text(qvtoken::defaultAdminPin)), QVFLASH_ST_OK);
    ASSERT_EQ(qvflash_login_local_pin(flash, 3, text(localPin)), QVFLASH_ST_OK);

    // The preset's drive: user, local PIN 3 and admin volumes.
    EXPECT_EQ(volumes(serial), (std::vector<Volume>{{1, 512, 3, 1}, {2, 256, 1, 3}, {3, 256, 0, 0}}));
    EXPECT_EQ(sections(), (std::vector<Section>{{1, 512, 3, 2, 0, 0}, {2, 256, 1, 0, 3, 2}, {3, 256, 0, 1, 0, 0}}));

    // A temporary change through the module shows on the card.
    ASSERT_EQ(changeVolume(serial, 1, qvtoken::defaultUserPin, 1, QV_ACCESS_READ_ONLY, false), CKR_OK);
    EXPECT_EQ(std::get<2>(sections().at(0)), QVFLASH_SECTION_READ_ONLY);

    // A split on the card shows as the module's volumes, then a temporary change on the card.
    std::array<qvflash_Section, 2> split{};
    split[0] = {0, {}, QVFLASH_SECTION_USER_FILES, 700, QVFLASH_SECTION_READ_WRITE, {}};
    split[1] = {0, {}, QVFLASH_SECTION_USER_FILES, 300, QVFLASH_SECTION_READ_ONLY, {}};
    for (auto& c : split[0].conditions)
        c = {QVFLASH_RULE_USER, 0, 0, QVFLASH_SECRET_NONE};
    for (auto& c : split[1].conditions)
        c = {QVFLASH_RULE_NONE, 3, 0, QVFLASH_SECRET_LOCAL_PIN};
    ASSERT_EQ(qvflash_split_into_sections(flash, split.data(), split.size()), QVFLASH_ST_OK);
    EXPECT_EQ(volumes(serial), (std::vector<Volume>{{1, 700, 3, 1}, {2, 300, 1, 3}}));
    ASSERT_EQ(qvflash_login_local_pin(flash, 3, text(localPin)), QVFLASH_ST_OK);
    ASSERT_EQ(qvflash_change_section_access_rights(flash, 2, QVFLASH_SECTION_HIDDEN, false), QVFLASH_ST_OK);
    EXPECT_EQ(volumes(serial), (std::vector<Volume>{{1, 700, 3, 1}, {2, 300, 0, 3}}));

    // A volume format through the module is what the card reports.
    CK_VOLUME_FORMAT_INFO_EXTENDED layout{1000, QV_ACCESS_READ_WRITE, 0, 0};
    const std::string admin = qvtoken::defaultAdminPin;
    ASSERT_EQ(x->C_EX_FormatDrive(serial, CKU_SO, reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(admin.data())),
                                  admin.size(), &layout, 1),
              CKR_OK);
    EXPECT_EQ(sections(), (std::vector<Section>{{1, 1000, 3, 1, 0, 0}}));
}

TEST_F(BothRoads, PresetsAgreeOnWhichTokensHaveAFlashBackEnd)
{
    const std::string asanRuntime = run("ldd " QVPKCS11ZRN_PATH " | awk '/libasan/ { printf \"%s\", $3 }'");
    const std::string p11tool =
        (asanRuntime.empty() ? "" : "LD_PRELOAD=" + asanRuntime + " ASAN_OPTIONS=detect_leaks=0 ") +
        "p11tool --provider " QVPKCS11ZRN_PATH " --list-tokens 2>&1";
    // Fewer cards than readers at a time.
    const std::vector<std::vector<std::string>> batches = {
        {"full", "no-flash", "module-drive", "class2", "bare", "named"},
        {"tls", "policy-gap", "bad-touch", "no-change-policy", "class3"}};
    for (const auto& batch : batches) {
        std::set<std::uint64_t> withDrive;
        for (const auto& name : batch) {
            const qvtoken::TokenState preset = qvtoken::makePreset(name);
            tokens.add(preset.serial, [&](qvtoken::TokenState& t) {
                t = preset;
                t.card.plugged = true;
            });
            if (preset.drive.present)
                withDrive.insert(preset.serial);
        }
        for (const auto& name : batch)
            plugged(qvtoken::makePreset(name).serial);

        const std::string listing = run(p11tool);
        startModule();
        std::set<std::uint64_t> supported;
        for (const auto& name : batch) {
            const qvtoken::TokenState preset = qvtoken::makePreset(name);
            EXPECT_NE(listing.find("Serial: " + std::to_string(preset.serial)), std::string::npos) << name << listing;
            CK_TOKEN_INFO_EXTENDED ext{};
            ext.size = QV_TOKEN_INFO_EXTENDED_SIZE;
            ASSERT_EQ(x->C_EX_GetTokenInfoExtended(preset.slotId, &ext), CKR_OK) << name;
            EXPECT_EQ((ext.flags & QV_TOKEN_FLAG_HAS_FLASH_DRIVE) != 0, withDrive.count(preset.serial) != 0) << name;

            qvflash_TokenImpl_* token = nullptr;
            ASSERT_EQ(qvflash_create_token(preset.serial, &token), QVFLASH_ST_OK) << name;
            bool isSupported = false;
            EXPECT_EQ(qvflash_is_token_supported(token, &isSupported), QVFLASH_ST_OK) << name;
            qvflash_destroy_token(&token);
            if (isSupported)
                supported.insert(preset.serial);
        }
        f->C_Finalize(nullptr);
        const std::set<std::uint64_t> expected =
            batch.front() == "full" ? std::set<std::uint64_t>{1234567890, 3000000001} : std::set<std::uint64_t>{};
        EXPECT_EQ(supported, expected);

        client.disconnect();
        tokens.removeAll();
        ASSERT_TRUE(client.waitForNoCard(15s));
    }
}

} // namespace
} // namespace qvcardtest
