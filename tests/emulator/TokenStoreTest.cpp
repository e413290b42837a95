#include <qvtoken-core/Errors.h>
#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStateCodec.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qvtoken;

namespace {

// Every token file must read in these tests.
void rethrow(const StateError&)
{
    throw;
}

class TokenStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("qvtoken-store-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

// A token with something in every part of the state, including text that is not ASCII and
// bytes that are not text.
TokenState richToken()
{
    TokenState t = makePreset("named");
    t.label = std::string("bin\x01\xff", 5);
    MvaFile mva;
    mva.id = 17;
    mva.recordSize = 40;
    mva.maxRecords = 3;
    mva.records = {{0x01, bytesOf("D:ABC|P:XYZ")}, {0x03, {}}};
    mva.raw85 = fromHex("21 00 00 a3 00 00");
    t.directory.emplace_back(std::move(mva));
    t.directory.emplace_back(OtherEntry{40, fromHex("62 03 82 01 38")});
    Section section;
    section.number = 1;
    section.size = 512;
    section.conditions = fromHex("010203040506");
    section.rawOverride = Bytes(22, 0xAB);
    t.drive.sections.push_back(section);
    t.card.extInfo.reset();
    t.card.journal.push_back({"user", "domain", "os", "device", -5, fromHex("c1")});
    t.drive.temporaryStates.push_back({1, 0});
    t.moduleFaults.push_back({"C_OpenSession", 0xE0, 1, -1});
    t.cardFaults.push_back(
        {0xF0, std::nullopt, 0x20, 0x00, 0x02, fromHex("31"), std::nullopt, 2, true, 1, "sw", "6a88"});
    t.switches.refusedTemporaryModes = {0, 5};
    t.userPinHistory = {bytesOf("11111111")};
    return t;
}

std::string text(const TokenState& t)
{
    std::ostringstream out;
    writeTokenState(out, t);
    return out.str();
}

} // namespace

TEST_F(TokenStoreTest, EveryPartOfATokenSurvivesTheFile)
{
    TokenStore store(dir_);
    const TokenState original = richToken();
    store.create(original);
    auto loaded = store.load(original.serial);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(text(*loaded), text(original));
    EXPECT_EQ(loaded->label, original.label);
    EXPECT_FALSE(loaded->card.extInfo);
    EXPECT_EQ(std::get<MvaFile>(loaded->directory[1]).records[0].data, bytesOf("D:ABC|P:XYZ"));
    ASSERT_EQ(loaded->objects.size(), 4u);
    EXPECT_EQ(loaded->objects[3].find(feature::modelName)->value, bytesOf("Кворвик Т2"));
}

TEST_F(TokenStoreTest, MissingDirectoryHoldsNoTokenAndMissingTokenIsReported)
{
    TokenStore store(dir_ / "absent");
    EXPECT_TRUE(store.loadAll(rethrow).empty());
    EXPECT_FALSE(store.load(1));
    EXPECT_THROW(store.modify(1, [](TokenState&) {}), TokenNotFoundError);
    EXPECT_THROW(store.remove(1), TokenNotFoundError);
}

TEST_F(TokenStoreTest, CreateModifyListAndRemove)
{
    TokenStore store(dir_);
    store.create(makePreset("class2"));
    store.create(makePreset("full"));
    EXPECT_THROW(store.create(makePreset("full")), TokenExistsError);

    const auto all = store.loadAll(rethrow);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].slotId, 1u); // ordered by slot id
    EXPECT_EQ(all[1].serial, 2000000001u);

    EXPECT_THROW(store.modify(1234567890,
                              [](TokenState& t) {
                                  t.label = "lost";
                                  throw std::runtime_error("refused");
                              }),
                 std::runtime_error);
    store.modify(1234567890, [](TokenState& t) { t.label = "kept"; });
    EXPECT_EQ(store.load(1234567890)->label, "kept");

    store.remove(1234567890);
    EXPECT_EQ(store.loadAll(rethrow).size(), 1u);
    for (const auto& item : fs::directory_iterator(dir_))
        EXPECT_EQ(item.path().string().find(".tmp."), std::string::npos) << "temporary file left behind";
}

TEST_F(TokenStoreTest, OnlyATokensOwnFileNameCountsAsThatToken)
{
    TokenStore store(dir_);
    store.create(makePreset("full"));
    for (const char* name : {"01234567890.json", "99999999999999999999999.json", "1234567890.bak", "notes.json"})
        fs::copy_file(store.stateFile(1234567890), dir_ / name);
    EXPECT_EQ(store.serials(), std::vector<std::uint64_t>{1234567890});
    EXPECT_EQ(store.loadAll(rethrow).size(), 1u);
}

TEST_F(TokenStoreTest, MalformedFilesAreRefused)
{
    TokenStore store(dir_);
    store.create(makePreset("full"));
    const auto file = store.stateFile(1234567890);
    auto rewrite = [&](const std::string& content) { std::ofstream(file, std::ios::trunc) << content; };

    rewrite("{ \"serial\": \"1234567890\", ");
    EXPECT_THROW(store.loadAll(rethrow), StateFormatError);
    rewrite("{ \"serial\": \"1234567890\", \"adminPin\": { \"maxTries\": \"3\", \"triesLeft\": \"4\" } }");
    EXPECT_THROW(store.load(1234567890), StateFormatError);
    rewrite("{ \"serial\": \"1234567890\", \"adminPin\": { \"value\": \"3x\" } }");
    EXPECT_THROW(store.load(1234567890), StateFormatError);
    rewrite("{ \"serial\": \"77\" }");
    EXPECT_THROW(store.load(1234567890), StateFormatError);
    rewrite("{ \"serial\": \"1234567890\", \"hasDrive\": \"true\", \"volumes\": \"\" }");
    EXPECT_THROW(store.load(1234567890), StateFormatError); // the earlier form
}

// Links planted next to a token never lead a write elsewhere, and a directory others could
// change is refused with the reason.
TEST_F(TokenStoreTest, PlantedLinksAndUnsafeDirectoriesAreRefused)
{
    TokenStore store(dir_);
    store.create(makePreset("full"));
    EXPECT_EQ(fs::status(dir_).permissions() & fs::perms::all, fs::perms::owner_all);
    const fs::path victim = fs::temp_directory_path() / ("qvtoken-victim-" + std::to_string(::getpid()));
    std::ofstream(victim) << "victim";
    const auto victimText = [&] {
        std::ifstream in(victim);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto change = [&] { store.modify(1234567890, [](TokenState& t) { ++t.freeMemory; }); };

    fs::create_symlink(victim, dir_ / ("1234567890.json.tmp." + std::to_string(::getpid())));
    EXPECT_NO_THROW(change());
    fs::remove(dir_ / "1234567890.lock");
    fs::create_symlink(victim, dir_ / "1234567890.lock");
    EXPECT_THROW(change(), StateIoError);
    EXPECT_EQ(victimText(), "victim");
    fs::remove(victim);

    const auto refusal = [&](const TokenStore& s) {
        try {
            s.serials();
        } catch (const UnsafeDirectoryError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    fs::permissions(dir_, fs::perms::group_write, fs::perm_options::add);
    EXPECT_NE(refusal(store).find("is writable by group or others"), std::string::npos);
    EXPECT_THROW(store.load(1234567890), UnsafeDirectoryError);
    fs::permissions(dir_, fs::perms::group_write, fs::perm_options::remove);
    // A directory of another user: the root directory, or for root a directory given away.
    const fs::path foreign = ::geteuid() == 0 ? dir_ : fs::path("/");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(dir_.c_str(), 65534, 65534), 0);
    }
    EXPECT_NE(refusal(TokenStore(foreign)).find("is owned by user"), std::string::npos);
}

TEST_F(TokenStoreTest, ProcessesChangingOneTokenLoseNothing)
{
    TokenStore store(dir_);
    TokenState t = makePreset("full");
    t.freeMemory = 0;
    store.create(t);

    constexpr int processes = 4;
    constexpr int rounds = 40;
    for (int p = 0; p < processes; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int status = 0;
            try {
                TokenStore own(dir_);
                for (int r = 0; r < rounds; ++r) {
                    own.modify(t.serial, [](TokenState& s) { ++s.freeMemory; });
                    if (!own.load(t.serial))
                        status = 2; // a reader never sees a missing or half file
                }
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
    }
    for (int p = 0; p < processes; ++p) {
        int status = 0;
        ::wait(&status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(store.load(t.serial)->freeMemory, static_cast<unsigned long>(processes * rounds));
}
