#include "TokenCommandTest.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <regex>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// set-label with a log file.
std::vector<std::string> setLabel(const std::string& label, const std::filesystem::path& logFile)
{
    return {"set-label", "-p", "40417263", "-l", label, "--log-file", logFile.string()};
}

// Runs across commands, as an administrator meets them, checked by what the user sees.
class ScenariosTest : public TokenCommandTest {
protected:
    // A folder of the scratch area on a file system of its own, `options` as mount takes them;
    // the test's later mounts stay private to this process.
    std::filesystem::path mountTmpfs(const std::string& name, unsigned long flags, const char* options)
    {
        const auto folder = qvadmin.scratch() / name;
        std::filesystem::create_directory(folder);
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", folder.c_str(), "tmpfs", flags, options) != 0) {
            throw std::runtime_error(std::string("cannot mount a file system: ") + std::strerror(errno));
        }
        mounted.push_back(folder);
        return folder;
    }

    void TearDown() override
    {
        for (const auto& folder : mounted) {
            umount(folder.c_str());
        }
    }

    std::vector<std::filesystem::path> mounted;
};

TEST_F(ScenariosTest, ALogFileThatCannotBeMadeStopsTheRunBeforeAnyToken)
{
    scene.add(kSerial, true);
    EXPECT_EQ(qvadmin.run(setLabel("x", "logs/")), (CommandResult{255, "", syntaxError("No file name.")}));
    EXPECT_EQ(
        qvadmin.run(setLabel("x", qvadmin.scratch() / "no" / "such" / "run.log")),
        (CommandResult{255, "", "Logger error: Folder not found: " + (qvadmin.scratch() / "no").string() + ".\n"}));
    EXPECT_EQ(scene.load(kSerial).label, "Stand-in A");
}

// The log cannot be written, but the tokens have changed: the run says so after their status.
TEST_F(ScenariosTest, LogWriteFailuresAreReportedAfterTheWork)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting file systems needs root";
    }
    scene.add(kSerial, false);
    const auto readOnly = mountTmpfs("ro", MS_RDONLY, "size=16k") / "run.log";
    EXPECT_EQ(qvadmin.run(setLabel("a", readOnly)),
              (CommandResult{255, "", "Logger error: Couldn't open or create file: " + readOnly.string() + ".\n"}));
    EXPECT_EQ(scene.load(kSerial).label, "Stand-in A");

    const auto full = mountTmpfs("full", 0, "size=16k");
    std::ofstream filler(full / "filler", std::ios::binary);
    const std::string block(4096, '\0');
    while (filler.write(block.data(), block.size()).flush()) {
    }
    EXPECT_EQ(qvadmin.run(setLabel("b", full / "run.log")),
              (CommandResult{255, kSuccess, "Logger error: Not enough space on the disk to write the log.\n"}));
    EXPECT_EQ(scene.load(kSerial).label, "b");

    // A file-size limit: the log is already as long as the process may make a file.
    const auto limited = qvadmin.scratch() / "limited.log";
    std::ofstream(limited) << std::string(1 << 20, '#');
    std::filesystem::permissions(limited, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{1 << 20, saved.rlim_max};
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto tooBig = qvadmin.run(setLabel("c", limited));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_EQ(tooBig, (CommandResult{255, kSuccess, "Logger error: Failed to write log.\n"}));
    EXPECT_EQ(scene.load(kSerial).label, "c");
}

// A PIN file's place that the program may not write into stops a generating run before any
// token, as the open would find it: a read-only mount refuses also root, permission bits do not.
TEST_F(ScenariosTest, APinFilePlaceIsCheckedBeforeAnyToken)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting file systems needs root";
    }
    scene.add(kSerial, false);
    const auto readOnly = mountTmpfs("ro", MS_RDONLY, "size=16k");
    const auto closed = qvadmin.scratch() / "closed";
    std::filesystem::create_directory(closed);
    std::filesystem::permissions(closed, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const struct {
        const char* name;
        std::filesystem::path pinFile;
        bool refused;
    } rows[] = {
        {"read-only mount", readOnly / "pins.txt", true},
        {"folder to make on a read-only mount", readOnly / "new" / "pins.txt", true},
        {"folder without write permission, which root may write", closed / "pins.txt", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = qvadmin.run({"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate",
                                         "--pin-file", row.pinFile.string()});
        const auto pin = TokenScene::pinText(scene.load(kSerial).userPin);
        if (row.refused) {
            EXPECT_EQ(result,
                      (CommandResult{255, "",
                                     "Logger error: Couldn't open or create file: " + row.pinFile.string() + ".\n"}));
            EXPECT_EQ(pin, kUserPin);
            EXPECT_FALSE(hasLogFolder());
        } else {
            EXPECT_EQ(result, (CommandResult{0, kSuccess, ""}));
            EXPECT_EQ(qvadmin.read(row.pinFile),
                      "Token Number;PIN Type;Value\n" + std::to_string(kSerial) + ";user;" + pin + "\n");
        }
    }
}

// The PIN file's disk fills up in the middle of a row: the part written is taken back, so the
// file ends on its last whole row, the PIN the token took is on the standard error stream, and
// the next run appends a whole row.
TEST_F(ScenariosTest, APinFileRowIsWrittenWholeOrNotAtAll)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting file systems needs root";
    }
    scene.add(kSerial, false);
    const auto full = mountTmpfs("full", 0, "size=16k");
    const auto pinFile = full / "pins.txt";
    // One page less a few bytes: a new row fits only in part.
    const std::string header = "Token Number;PIN Type;Value\n";
    std::string rows = header + "1;user;";
    rows += std::string(4096 - 8 - rows.size() - 1, 'x') + "\n";
    std::ofstream(pinFile) << rows;
    std::filesystem::permissions(pinFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    {
        std::ofstream filler(full / "filler", std::ios::binary);
        const std::string block(4096, '\0');
        while (filler.write(block.data(), block.size()).flush()) {
        }
    }
    const auto generate = words("set-user-pin --auth-as user -p 40417263 -N generate --pin-file " + pinFile.string());
    const auto row = [&] {
        return std::to_string(kSerial) + ";user;" + TokenScene::pinText(scene.load(kSerial).userPin) + "\n";
    };
    const auto cut = qvadmin.run(generate);
    EXPECT_EQ(cut, (CommandResult{255, kSuccess,
                                  header + row() + "Logger error: Not enough space on the disk to write the log.\n"}));
    EXPECT_EQ(qvadmin.read(pinFile), rows);

    std::filesystem::remove(full / "filler");
    qvtoken::TokenStore().modify(
        kSerial, [&](qvtoken::TokenState& token) { token.userPin.value.assign(kUserPin.begin(), kUserPin.end()); });
    ASSERT_EQ(qvadmin.run(generate), (CommandResult{0, kSuccess, ""}));
    EXPECT_EQ(qvadmin.read(pinFile), rows + row());
}

TEST_F(ScenariosTest, GeneratedPinsFollowThePolicyAndSurviveSixRefusals)
{
    scene.add(kSerial, false);
    const auto generate = words("set-user-pin --auth-as user -p 40417263 -N generate");
    const auto policy = qvadmin.run(words("set-pin-policy -p 59302814 --min-length 6 --history-depth 0 --allow-default "
                                          "true --digit-required true --uppercase-required false --lowercase-required "
                                          "false --spec-char-required false --diff-chars-required false"));
    ASSERT_EQ(policy.status, 0);
    EXPECT_EQ(qvadmin.run(words("set-user-pin --auth-as user -p 40417263 -N generate -g ll ul")),
              (CommandResult{255,
                             tokenLine(kSerial, "error: "
                                                "Generation settings don't satisfy PIN policies.") +
                                 kFailure,
                             ""}));

    const auto refuse = [&](long times) {
        qvtoken::TokenStore().modify(kSerial, [times](qvtoken::TokenState& token) {
            token.moduleFaults = {{"C_SetPIN", 0x8000000B, 0, times}};
            token.userPin.value.assign(kUserPin.begin(), kUserPin.end());
        });
        return qvadmin.run(generate);
    };
    const auto sixth = refuse(6);
    EXPECT_EQ(sixth.status, 0) << sixth.out;
    EXPECT_NE(TokenScene::pinText(scene.load(kSerial).userPin), kUserPin);
    EXPECT_EQ(refuse(7),
              (CommandResult{255,
                             tokenLine(kSerial, "error: "
                                                "Failed to generate a suitable PIN. Please try again or specify a "
                                                "custom PIN.") +
                                 kFailure,
                             ""}));
}

// A day's work on eight tokens at once, four of them plugged in as flash tokens.
TEST_F(ScenariosTest, ADaysWorkOnEightTokensInParallel)
{
    for (std::uint64_t serial = 7001; serial <= 7008; ++serial) {
        scene.add(serial, serial % 2 == 0);
    }
    for (const auto* line :
         {"format --parallel -p 59302814 --label Day", "set-so-pin --parallel -p 59302814 -n 11223344",
          "set-user-pin --parallel --auth-as user -p 40417263 -n 55667788",
          "set-pin-policy --parallel -p 11223344 --min-length 8 --history-depth 2 --allow-default "
          "false --digit-required true --uppercase-required false --lowercase-required false "
          "--spec-char-required false --diff-chars-required false",
          "set-label --parallel -p 55667788 -l Accounts"}) {
        EXPECT_EQ(qvadmin.run(words(line)), (CommandResult{0, kSuccess, ""})) << line;
    }
    const auto info = qvadmin.run(words("info --parallel"));
    EXPECT_EQ(info.status, 0);
    for (const auto serial : scene.serials()) {
        const auto block = info.out.find("Label                              : Accounts\nSerial number"
                                         "                      : " +
                                         std::to_string(serial) + "\n");
        ASSERT_NE(block, std::string::npos) << info.out;
        EXPECT_NE(info.out.find("Min length                         : 8\n", block), std::string::npos);
        const auto text = log(serial);
        EXPECT_EQ(std::regex_replace(text, std::regex("[^]*?\nstatus: success\n\n"), "+"), "+++++") << text;
    }
}

// Defaults of one command in the configuration file apply to that command alone; format takes
// its lengths and retry counts from there.
TEST_F(ScenariosTest, ConfigurationFileSetsDefaultsPerCommand)
{
    scene.add(kSerial, true);
    std::ofstream(qvadmin.folder() / "qvadmin_conf.ini")
        << "[set-user-pin]\nnew-pin-input=console\n[set-so-pin]\nnew-pin-input=generate\ngen-settings=d l:8\n"
           "[format]\nmin-pin-length=8\nmax-pin-retry-count=5\n";
    ASSERT_EQ(qvadmin.run(words("format -p 59302814")).status, 0);
    const auto formatted = scene.load(kSerial);
    for (const auto& pin : {formatted.adminPin, formatted.userPin}) {
        EXPECT_EQ(pin.minLength, 8u);
        EXPECT_EQ(pin.maxTries, 5u);
    }
    EXPECT_EQ(qvadmin.run(words("set-user-pin --auth-as user -p 40417263"), "11223344\n11223344\n").status, 0);
    EXPECT_EQ(TokenScene::pinText(scene.load(kSerial).userPin), "11223344");

    const auto generated = qvadmin.run(words("set-so-pin -p 59302814 --no-log --no-pin-file"));
    const auto pin = TokenScene::pinText(scene.load(kSerial).adminPin);
    EXPECT_EQ(
        generated,
        (CommandResult{0, "serial: 1234567890, model: 01.00.28.05 ZRN 3.0, new-pin: " + pin + "\n" + kSuccess, ""}));
    EXPECT_EQ(pin.size(), 8u);
    EXPECT_EQ(pin.find_first_not_of("0123456789"), std::string::npos) << pin;
}

} // namespace
