// set-volume-access-mode and the MVA commands as a user runs them.
#include "TokenCommandTest.h"

#include <cstdlib>
#include <regex>

namespace {

// The full preset's volumes: 1 the user's, 2 local PIN 3's, 3 the admin's.
constexpr unsigned kUserVolume = 1;

unsigned accessOf(const qvtoken::TokenState& token, unsigned number)
{
    auto drive = token.drive;
    return drive.currentAccess(*drive.findSection(number));
}

class VolumeAccessTest : public TokenCommandTest, public testing::WithParamInterface<bool> {
protected:
    CommandResult setMode(const std::string& volume, const std::string& mode, std::vector<std::string> more = {})
    {
        std::vector<std::string> args{"set-volume-access-mode", "--volume-id", volume, "--new-mode", mode};
        args.insert(args.end(), more.begin(), more.end());
        return qvadmin.run(args);
    }
};

TEST_P(VolumeAccessTest, TheOwnersPinOpensOnlyAnExistingVolume)
{
    scene.add(kSerial, GetParam());
    const auto before = accessOf(scene.load(kSerial), kUserVolume);
    EXPECT_EQ(setMode("1", "r", {"--no-pins", "-p", "x"}).err,
              syntaxError("Incompatible options: auth-pin-input, no-pins."));
    EXPECT_EQ(setMode("1", "r", {"--no-pins"}).out,
              tokenLine(kSerial, "error: PIN is required but not provided.") + kFailure);
    // 257 is volume 1 in the card's one byte.
    for (const auto* missing : {"9", "257"}) {
        EXPECT_EQ(setMode(missing, "r", {"-p", kUserPin}).out,
                  tokenLine(kSerial, "error: Selected volume doesn't exist.") + kFailure);
    }
    EXPECT_EQ(accessOf(scene.load(kSerial), kUserVolume), before);
    EXPECT_EQ(setMode("1", "r", {"-p", kUserPin}).out, kSuccess);
    EXPECT_NE(accessOf(scene.load(kSerial), kUserVolume), before);
    EXPECT_NE(log(kSerial).find("set-volume-access-mode\n    volume-id: 1\n    new-mode: r\n"), std::string::npos);

    EXPECT_EQ(setMode("1", "rw", {"-p", "1111111"}).out,
              tokenLine(kSerial, "error: Incorrect user PIN. Attempts left: 9.") + kFailure);
}

INSTANTIATE_TEST_SUITE_P(, VolumeAccessTest, testing::Values(false, true), roadName);

TEST_F(VolumeAccessTest, TheCardJournalsEveryChangeAndFailedLogin)
{
    scene.add(kSerial, true);
    ASSERT_EQ(qvadmin.run({"format-drive", "-p", kAdminPin, "--volume", "100:rw:user", "500:h:none:journal"}).out,
              kSuccess);
    EXPECT_EQ(setMode("1", "r", {"-p", kUserPin}).out, kSuccess);
    EXPECT_EQ(scene.load(kSerial).card.journal.size(), 1u);
    EXPECT_NE(setMode("1", "rw", {"-p", "1111111"}).out, kSuccess);
    EXPECT_EQ(scene.load(kSerial).card.journal.size(), 2u);
    EXPECT_EQ(setMode("1", "cd", {"-p", kUserPin, "--temp"}).out,
              tokenLine(kSerial, "error: Qvflash: Only permanent access rights change is available for the CD-ROM "
                                 "section") +
                  kFailure);
    EXPECT_NE(log(kSerial).find("    new-mode: cd\n    temp: true\n"), std::string::npos) << log(kSerial);
}

// One operation with another rule makes the owner "mixed": no owner the tool can log in as, so
// neither a PIN nor its absence lets the change through, and no PIN is tried.
TEST_F(VolumeAccessTest, AVolumeOfMixedConditionsIsRefusedBeforeAnyLogin)
{
    scene.add(kSerial, true, [](qvtoken::TokenState& token) { token.drive.sections[0].conditions.back() = 1; });
    const auto before = scene.load(kSerial);
    const auto refused =
        tokenLine(kSerial, "error: Couldn't modify the volume's access mode because it's protected with an "
                           "unsupported authentication type.") +
        kFailure;
    EXPECT_EQ(setMode("1", "r", {"-p", "1111111"}).out, refused);
    EXPECT_EQ(setMode("1", "r", {"--no-pins"}).out, refused);
    const auto after = scene.load(kSerial);
    EXPECT_EQ(after.userPin.triesLeft, before.userPin.triesLeft);
    EXPECT_EQ(accessOf(after, kUserVolume), accessOf(before, kUserVolume));
}

TEST_F(VolumeAccessTest, ATemporaryModeOfTheModuleLastsUntilReplug)
{
    scene.add(kSerial, false);
    const auto before = accessOf(scene.load(kSerial), kUserVolume);
    EXPECT_EQ(setMode("1", "r", {"-p", kUserPin, "--temp"}).out, kSuccess);
    EXPECT_NE(accessOf(scene.load(kSerial), kUserVolume), before);
    ASSERT_EQ(std::system((std::string(QVTOKEN_PATH) + " replug " + std::to_string(kSerial) + " >/dev/null").c_str()),
              0);
    EXPECT_EQ(accessOf(scene.load(kSerial), kUserVolume), before);
}

TEST_F(VolumeAccessTest, ATokenWithoutFlashMemoryHasNoVolumes)
{
    scene.add(kSerial, false, asPreset("no-flash"));
    EXPECT_EQ(setMode("1", "r", {"-p", kUserPin}).out,
              tokenLine(kSerial, "error: Operation isn't supported on tokens without flash memory.") + kFailure);
}

class MvaTest : public TokenCommandTest {
protected:
    MvaTest() { setenv("QV_HOST_ROOT", QV_TEST_HOSTS "/workstation", 1); }
    ~MvaTest() override { unsetenv("QV_HOST_ROOT"); }

    // The new MVA's id from the console line.
    std::string createMva(std::uint64_t serial, std::vector<std::string> more = {})
    {
        std::vector<std::string> args{"create-mva", "-s", std::to_string(serial), "-p", kAdminPin};
        args.insert(args.end(), more.begin(), more.end());
        const auto result = qvadmin.run(args);
        std::smatch id;
        EXPECT_TRUE(std::regex_match(result.out, id, std::regex(".*, MVA id: (\\d+)\nstatus: success\n")))
            << result.out << result.err;
        return id[1];
    }
    CommandResult onMva(const std::string& command, const std::string& id)
    {
        return qvadmin.run({command, "-p", kAdminPin, "--mva-id", id});
    }
};

TEST_F(MvaTest, TheHostRecordedInAnMvaOpensItsVolumeUntilCleared)
{
    scene.add(kSerial, true);
    const auto id = createMva(kSerial, {"--auth-attempts", "2", "--pin-file", "pins.txt"});
    EXPECT_NE(log(kSerial).find("create-mva\n    max-records-count: 10\n    max-record-size: 249\n"
                                "    auth-attempts: 2\n    MVA id: " +
                                id + "\n"),
              std::string::npos)
        << log(kSerial);
    ASSERT_EQ(qvadmin.run({"format-drive", "-p", kAdminPin, "--volume", "100:rw:user", "50:h:mva-" + id}).out,
              kSuccess);
    EXPECT_EQ(onMva("add-pc-to-mva", id).out, kSuccess);
    const std::string snapshot = "D:s4ewnx0n123456;wdwx11a12b3456|P:intelrcoretmi79750hcpu260ghz";
    bool recorded = false;
    for (const auto& entry : scene.load(kSerial).directory) {
        if (const auto* mva = std::get_if<qvtoken::MvaFile>(&entry); mva && std::to_string(mva->id) == id) {
            ASSERT_EQ(mva->records.size(), 1u);
            recorded = mva->records[0].data == qvtoken::Bytes(snapshot.begin(), snapshot.end());
        }
    }
    EXPECT_TRUE(recorded);
    const std::vector<std::string> open{"set-volume-access-mode", "--no-pins", "--volume-id", "2", "--new-mode", "r"};
    EXPECT_EQ(qvadmin.run(open).out, kSuccess);
    EXPECT_EQ(qvadmin.run({"set-volume-access-mode", "-p", kUserPin, "--volume-id", "2", "--new-mode", "rw"}).out,
              tokenLine(kSerial, "error: PIN is provided but not required.") + kFailure);

    EXPECT_EQ(onMva("clear-mva", id).out, kSuccess);
    EXPECT_EQ(qvadmin.run(open).out,
              tokenLine(kSerial, "error: The host PC wasn't found in mva-" + id + ". Attempts left: 1.") + kFailure);
    EXPECT_EQ(qvadmin.run(open).out, tokenLine(kSerial, "error: mva-" + id + " is blocked.") + kFailure);
}

TEST_F(MvaTest, CreateMvaNeedsBothSizesAndLimitsThatFitTheToken)
{
    scene.add(kSerial, false);
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--max-record-size", "100"}, "The max-record-size option also requires the max-records-count option."},
        {{"--max-records-count", "5"}, "The max-records-count option also requires the max-record-size option."},
        {{"--auth-attempts", "256"}, "the argument ('256') for option '--auth-attempts' is invalid"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"create-mva", "-p", kAdminPin};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(qvadmin.run(args).err, syntaxError(c.error));
    }
    EXPECT_FALSE(hasLogFolder());
    // The largest values pass to the token, which on this road has no MVA at all.
    const auto largest = qvadmin.run({"create-mva", "-p", kAdminPin, "--max-records-count", "255", "--max-record-size",
                                      "255", "--auth-attempts", "255"});
    EXPECT_EQ(largest.out,
              tokenLine(kSerial, "error: Operation isn't supported on tokens without MVA support.") + kFailure);
    EXPECT_NE(log(kSerial).find("    max-records-count: 255\n    max-record-size: 255\n    auth-attempts: 255\n"),
              std::string::npos);
}

TEST_F(MvaTest, TokensInParallelGetTheirOwnMvas)
{
    scene.add(3001, true);
    scene.add(3002, true, [](qvtoken::TokenState& token) {
        qvtoken::MvaFile taken;
        taken.id = 4;
        token.directory.push_back(taken);
    });
    const auto result = qvadmin.run({"create-mva", "-p", kAdminPin, "--parallel"});
    EXPECT_EQ(result.out.substr(result.out.size() - kSuccess.size()), kSuccess);
    // The tasks print their lines as they end, in any order.
    std::vector<std::string> ids;
    for (const auto serial : scene.serials()) {
        std::smatch id;
        ASSERT_TRUE(std::regex_search(result.out, id,
                                      std::regex("serial: " + std::to_string(serial) + ", [^\n]*, MVA id: (\\d+)\n")))
            << result.out;
        ids.push_back(id[1]);
        EXPECT_NE(log(serial).find("    MVA id: " + ids.back() + "\n"), std::string::npos);
    }
    EXPECT_NE(ids[0], ids[1]);
}

} // namespace
