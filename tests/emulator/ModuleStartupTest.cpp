#include "ModuleFixture.h"

#include <qvtoken-core/FeatureObjects.h>

#include <boost/property_tree/json_parser.hpp>

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace {

std::vector<CK_SLOT_ID> slotList(CK_FUNCTION_LIST_PTR f)
{
    CK_ULONG n = 0;
    EXPECT_EQ(f->C_GetSlotList(CK_TRUE, nullptr, &n), CKR_OK);
    std::vector<CK_SLOT_ID> ids(n);
    EXPECT_EQ(f->C_GetSlotList(CK_TRUE, ids.data(), &n), CKR_OK);
    ids.resize(n);
    return ids;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_F(ModuleFixture, WithoutStateDirectoryTheModuleHasNoSlotsAndCyclesCleanly)
{
    ASSERT_EQ(initialize(), CKR_OK);
    EXPECT_EQ(initialize(), CKR_CRYPTOKI_ALREADY_INITIALIZED);
    EXPECT_TRUE(slotList(f).empty());
    CK_ULONG n = 0;
    EXPECT_EQ(f->C_GetSlotList(CK_TRUE, nullptr, &n), CKR_OK);
    EXPECT_EQ(f->C_GetSlotList(CK_TRUE, nullptr, &n), CKR_OK); // second call of an empty list, null array
    EXPECT_EQ(f->C_Finalize(nullptr), CKR_OK);
    EXPECT_EQ(f->C_Finalize(nullptr), CKR_CRYPTOKI_NOT_INITIALIZED);
    EXPECT_EQ(f->C_GetSlotList(CK_TRUE, nullptr, &n), CKR_CRYPTOKI_NOT_INITIALIZED);
    EXPECT_EQ(f->C_Initialize(nullptr), CKR_OK); // null arguments are accepted too

    CK_FUNCTION_LIST_PTR again = nullptr;
    EXPECT_EQ(f->C_GetFunctionList(&again), CKR_OK);
    EXPECT_EQ(again, f);
    // Every word of both tables is set; unused ones answer "not supported".
    for (std::size_t i = 1; i < sizeof(CK_FUNCTION_LIST) / sizeof(void*); ++i)
        EXPECT_NE(reinterpret_cast<void* const*>(f)[i], nullptr) << "standard entry " << i;
    for (std::size_t i = 1; i < sizeof(CK_FUNCTION_LIST_EXTENDED) / sizeof(void*); ++i)
        EXPECT_NE(reinterpret_cast<void* const*>(x)[i], nullptr) << "extended word " << i;
    EXPECT_EQ(f->C_CloseAllSessions(1), CKR_FUNCTION_NOT_SUPPORTED);
    EXPECT_EQ(x->unused1(), CKR_FUNCTION_NOT_SUPPORTED);
}

TEST_F(ModuleFixture, SlotsAreListedInOrderWithTheTwoCallProtocol)
{
    create("class2");
    create("full");
    auto dup = qvtoken::makePreset("named");
    dup.switches.duplicateSlotId = true;
    create(dup);
    auto absent = qvtoken::makePreset("tls");
    absent.switches.listedNotPresent = true;
    create(absent);
    ASSERT_EQ(initialize(), CKR_OK);

    EXPECT_EQ(slotList(f), (std::vector<CK_SLOT_ID>{1, 3, 5, 5, 6}));
    CK_SLOT_ID ids[2];
    CK_ULONG n = 2;
    EXPECT_EQ(f->C_GetSlotList(CK_TRUE, ids, &n), CKR_BUFFER_TOO_SMALL);
    EXPECT_EQ(n, 5u);

    CK_SLOT_INFO slot;
    ASSERT_EQ(f->C_GetSlotInfo(1, &slot), CKR_OK);
    EXPECT_TRUE(slot.flags & CKF_TOKEN_PRESENT);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(slot.slotDescription), 64).substr(0, 24), "Virtual token reader 1  ");
    ASSERT_EQ(f->C_GetSlotInfo(6, &slot), CKR_OK);
    EXPECT_FALSE(slot.flags & CKF_TOKEN_PRESENT);
    EXPECT_EQ(f->C_GetSlotInfo(2, &slot), CKR_SLOT_ID_INVALID);

    CK_TOKEN_INFO token;
    ASSERT_EQ(f->C_GetTokenInfo(1, &token), CKR_OK);
    EXPECT_EQ(token.hardwareVersion.major, 1);
    EXPECT_EQ(token.firmwareVersion.major, 28);
    EXPECT_EQ(token.firmwareVersion.minor, 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(token.serialNumber), 16), "1234567890      ");
}

TEST_F(ModuleFixture, ExtendedInfoCarriesTheTokenAndRespectsTheCallersSize)
{
    create("full");
    auto named = qvtoken::makePreset("named");
    named.serial = 258;
    create(named);
    ASSERT_EQ(initialize(), CKR_OK);

    const auto a = info(slotA);
    EXPECT_EQ(a.flags, QV_TOKEN_FLAG_USER_CHANGES_USER_PIN | QV_TOKEN_FLAG_HAS_FLASH_DRIVE);
    EXPECT_EQ(a.minUserPinLen, 6u);
    EXPECT_EQ(a.maxSoPinLen, 32u);
    EXPECT_EQ(a.soRetriesLeft, 10u);
    EXPECT_EQ(a.totalMemory, 65536u);
    EXPECT_EQ(a.freeMemory, 43008u);
    EXPECT_EQ(a.tokenClass, 1u);
    const CK_BYTE serialA[8] = {0, 0, 0, 0, 0x49, 0x96, 0x02, 0xD2};
    EXPECT_EQ(std::memcmp(a.serial, serialA, 8), 0);

    const auto c = info(5);
    EXPECT_EQ(c.featureNumber, 40u);
    EXPECT_EQ(c.serial[6], 1);
    EXPECT_EQ(c.serial[7], 2);

    // A caller whose record is shorter gets nothing written past it; a too short one is refused.
    unsigned char buffer[256];
    std::memset(buffer, 0xEE, sizeof buffer);
    auto* shortInfo = reinterpret_cast<CK_TOKEN_INFO_EXTENDED*>(buffer);
    shortInfo->size = 216;
    ASSERT_EQ(x->C_EX_GetTokenInfoExtended(slotA, shortInfo), CKR_OK);
    EXPECT_EQ(shortInfo->tokenClass, 1u);
    EXPECT_EQ(buffer[216], 0xEE);
    shortInfo->size = 215;
    EXPECT_EQ(x->C_EX_GetTokenInfoExtended(slotA, shortInfo), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(x->C_EX_GetTokenInfoExtended(9, shortInfo), CKR_SLOT_ID_INVALID);
}

// A damaged token file is left out with one line naming the file and the field; the module
// still starts and serves the other tokens.
TEST_F(ModuleFixture, DamagedFilesAreLeftOutAndTheOtherTokensServed)
{
    using boost::property_tree::ptree;
    const struct {
        const char* damage;
        std::function<void(ptree&)> edit;
        const char* message;
    } cases[] = {
        {"not JSON", nullptr, "expected"},
        {"bad number", [](ptree& t) { t.put("userPin.triesLeft", "O"); }, "userPin.triesLeft: not a number: \"O\""},
        {"negative number", [](ptree& t) { t.put("tokenClass", "-3"); }, "tokenClass: not a number: \"-3\""},
        {"missing key", [](ptree& t) { t.erase("userPin"); }, "userPin: missing"},
        {"out of range", [](ptree& t) { t.put("hardwareVersion.major", "256"); },
         "hardwareVersion.major: out of range 0..255: 256"},
        {"tries above maximum", [](ptree& t) { t.put("adminPin.triesLeft", "11"); },
         "adminPin.triesLeft: out of range 0..10: 11"},
        {"duplicate slot", [](ptree& t) { t.put("slotId", "1"); }, "slotId: slot 1 already holds token 1234567890"},
        {"old form", [](ptree& t) { t.put("hasDrive", "true"); }, "volumes: a file of the earlier form"},
        {"not a list", [](ptree& t) { t.put("drive.sections", "none"); }, "drive.sections: not a list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        std::filesystem::remove_all(dir_);
        create("full");
        create("class2");
        const std::string file = store().stateFile(2000000001).string();
        if (c.edit) {
            ptree tree;
            boost::property_tree::read_json(file, tree);
            c.edit(tree);
            boost::property_tree::write_json(file, tree);
        } else {
            std::ofstream(file, std::ios::trunc) << "{ not json";
        }

        ::testing::internal::CaptureStderr();
        const CK_RV rv = initialize();
        const std::string errors = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(rv, CKR_OK);
        EXPECT_NE(errors.find(file), std::string::npos) << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        CK_SLOT_ID slots[4];
        CK_ULONG count = 4;
        ASSERT_EQ(f->C_GetSlotList(CK_TRUE, slots, &count), CKR_OK);
        EXPECT_EQ(count, 1u);
        EXPECT_EQ(slots[0], slotA);
        ASSERT_EQ(f->C_Finalize(nullptr), CKR_OK);
    }
}

TEST_F(ModuleFixture, ChangesPersistAcrossRunsAndTemporaryModesLastUntilReplug)
{
    create("full");
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);
    ASSERT_EQ(login(h, CKU_USER, userPin), CKR_OK);
    const std::string label = "Renamed";
    ASSERT_EQ(x->C_EX_SetTokenName(h, pinBytes(label), label.size()), CKR_OK);
    ASSERT_EQ(
        x->C_EX_ChangeVolumeAttributes(slotA, 1, pinBytes(userPin), userPin.size(), 1, QV_ACCESS_READ_ONLY, CK_FALSE),
        CKR_OK);
    EXPECT_EQ(login(open(slotA), CKU_SO, "wrong"), CKR_USER_ANOTHER_ALREADY_LOGGED_IN);
    ASSERT_EQ(f->C_Finalize(nullptr), CKR_OK);

    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE again = open(slotA);
    CK_ULONG length = 0;
    ASSERT_EQ(x->C_EX_GetTokenName(again, nullptr, &length), CKR_OK);
    std::string read(length, '\0');
    ASSERT_EQ(x->C_EX_GetTokenName(again, reinterpret_cast<CK_UTF8CHAR_PTR>(read.data()), &length), CKR_OK);
    EXPECT_EQ(read, label);
    // Finalising ended the earlier login.
    EXPECT_EQ(f->C_Logout(again), CKR_USER_NOT_LOGGED_IN);

    auto volumes = [&] {
        CK_ULONG n = 0;
        EXPECT_EQ(x->C_EX_GetVolumesInfo(slotA, nullptr, &n), CKR_OK);
        std::vector<CK_VOLUME_INFO_EXTENDED> list(n);
        EXPECT_EQ(x->C_EX_GetVolumesInfo(slotA, list.data(), &n), CKR_OK);
        return list;
    };
    EXPECT_EQ(volumes()[0].accessMode, QV_ACCESS_READ_ONLY);
    store().modify(1234567890, [](qvtoken::TokenState& t) { t.replug(); });
    EXPECT_EQ(volumes()[0].accessMode, QV_ACCESS_READ_WRITE);
}

TEST_F(ModuleFixture, InjectedFaultsFireAsDescribedAndOnceMeansOnceAcrossRuns)
{
    auto token = qvtoken::makePreset("full");
    token.moduleFaults = {{"C_OpenSession", CKR_TOKEN_NOT_PRESENT, 1, 1},
                          {"C_GetSlotList", CKR_BUFFER_TOO_SMALL, 1, 1},
                          {"C_GetSlotList", CKR_BUFFER_TOO_SMALL, 3, 1},
                          {"C_EX_GetDriveSize", CKR_DEVICE_REMOVED, 0, -1}};
    create(token);
    ASSERT_EQ(initialize(), CKR_OK);

    // The listing fails twice, each time after its count query.
    CK_SLOT_ID id = 0;
    for (CK_RV listing : {CKR_BUFFER_TOO_SMALL, CKR_BUFFER_TOO_SMALL, CKR_OK}) {
        CK_ULONG n = 0;
        EXPECT_EQ(f->C_GetSlotList(CK_TRUE, nullptr, &n), CKR_OK);
        EXPECT_EQ(f->C_GetSlotList(CK_TRUE, &id, &n), listing);
    }
    open(slotA); // skipped
    CK_SESSION_HANDLE h = 0;
    EXPECT_EQ(f->C_OpenSession(slotA, 6, nullptr, nullptr, &h), CKR_TOKEN_NOT_PRESENT);
    open(slotA);
    CK_ULONG size = 0;
    EXPECT_EQ(x->C_EX_GetDriveSize(slotA, &size), CKR_DEVICE_REMOVED);
    EXPECT_EQ(x->C_EX_GetDriveSize(slotA, &size), CKR_DEVICE_REMOVED);
    ASSERT_EQ(f->C_Finalize(nullptr), CKR_OK);

    // A rule on the listing calls alone fails the first k of them; the count queries pass.
    store().modify(1234567890, [](qvtoken::TokenState& t) {
        t.moduleFaults.push_back({"C_GetSlotList:list", CKR_BUFFER_TOO_SMALL, 0, 3});
    });
    ASSERT_EQ(initialize(), CKR_OK);
    for (CK_RV listing : {CKR_BUFFER_TOO_SMALL, CKR_BUFFER_TOO_SMALL, CKR_BUFFER_TOO_SMALL, CKR_OK}) {
        CK_ULONG n = 0;
        EXPECT_EQ(f->C_GetSlotList(CK_TRUE, nullptr, &n), CKR_OK);
        EXPECT_EQ(f->C_GetSlotList(CK_TRUE, &id, &n), listing);
    }
    open(slotA);
    EXPECT_EQ(f->C_OpenSession(slotA, 6, nullptr, nullptr, &h), CKR_OK); // used up in the file
    EXPECT_EQ(x->C_EX_GetDriveSize(slotA, &size), CKR_DEVICE_REMOVED);
    EXPECT_EQ(store().load(1234567890)->moduleFaults.size(), 1u);
}

TEST_F(ModuleFixture, TraceRecordsEveryCallWithoutPins)
{
    create("full");
    const auto trace = dir_ / "trace.log";
    std::filesystem::create_directories(dir_);
    ::setenv("QVSTANDIN_TRACE", trace.c_str(), 1);
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);
    EXPECT_EQ(login(h, CKU_SO, "99999999"), CKR_PIN_INCORRECT);
    EXPECT_EQ(f->C_CloseSession(h), CKR_OK);
    ASSERT_EQ(f->C_Finalize(nullptr), CKR_OK);
    ::unsetenv("QVSTANDIN_TRACE");

    EXPECT_EQ(readFile(trace), "C_Initialize rv=0x0\n"
                               "C_OpenSession slot=1 flags=6 rv=0x0\n"
                               "C_Login session=1 userType=0 pinLength=8 rv=0xa0\n"
                               "C_CloseSession session=1 rv=0x0\n"
                               "C_Finalize rv=0x0\n");
}

TEST(ModuleVariant, TheVariantWithoutExtendedTableLacksOnlyItsGetter)
{
    void* module = ::dlopen(QVPKCS11ZRN_NOEXT_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    EXPECT_NE(::dlsym(module, "C_GetFunctionList"), nullptr);
    EXPECT_EQ(::dlsym(module, "C_EX_GetFunctionListExtended"), nullptr);
    ::dlclose(module);
}
