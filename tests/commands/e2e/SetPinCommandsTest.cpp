#include "CommandRun.h"
#include "TokenScene.h"

#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <regex>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kSerial = 1234567890;
const std::string kAdminPin = "59302814";
const std::string kUserPin = "40417263";
const std::string kPinFileHeader = "Token Number;PIN Type;Value\n";
const std::string kFailure = "status: failure\n";

std::string tokenLine(std::uint64_t serial, const std::string& text)
{
    return "serial: " + std::to_string(serial) + ", model: 01.00.28.05 ZRN 3.0, " + text + "\n";
}

// The admin may set the user PIN too (PIN change policy "both").
void adminSetsUserPin(qvtoken::TokenState& token)
{
    token.pinChangeFlags = 3;
}

void expectPinState(const qvtoken::PinState& pin, const std::string& value, unsigned long triesLeft)
{
    EXPECT_EQ(TokenScene::pinText(pin), value);
    EXPECT_EQ(pin.triesLeft, triesLeft);
}

class SetPinCommandsTest : public testing::Test {
protected:
    std::string log(std::uint64_t serial) const
    {
        return qvadmin.read(qvadmin.folder() / "qvadmin-logs" / ("qvadmin_" + std::to_string(serial) + ".log"));
    }
    std::string pinFile() const { return qvadmin.read(qvadmin.folder() / "pin-file.txt"); }
    bool hasLogFolder() const { return std::filesystem::exists(qvadmin.folder() / "qvadmin-logs"); }

    // The generated PINs of the PIN file's rows, by serial.
    std::map<std::uint64_t, std::string> pinRows(const std::string& pinType) const
    {
        const auto text = pinFile();
        EXPECT_EQ(text.substr(0, kPinFileHeader.size()), kPinFileHeader);
        std::map<std::uint64_t, std::string> rows;
        const std::regex row("(\\d+);" + pinType + ";(\\S+)\n");
        for (std::sregex_iterator it(text.begin(), text.end(), row), end; it != end; ++it) {
            rows[std::stoull((*it)[1])] = (*it)[2];
        }
        return rows;
    }

    TokenScene scene;
    CommandRun qvadmin;
};

const std::string kSoPinHelp = "Set admin PIN.\n"
                               "  -P [ --auth-pin-input ] arg (=options)\n"
                               "                                        Authorization (admin) PIN input mode.\n"
                               "                                        Possible values:\n"
                               "                                          console - console input;\n"
                               "                                          options - options input.\n"
                               "                                        \n"
                               "  -p [ --auth-pin ] arg                 Authorization (admin) PIN for \"options\"\n"
                               "                                        input mode.\n"
                               "                                        \n"
                               "  -N [ --new-pin-input ] arg (=options) New admin PIN input mode.\n"
                               "                                        Possible values:\n"
                               "                                          console - console input;\n"
                               "                                          options - options input;\n"
                               "                                          generate - generate random PIN.\n"
                               "                                        \n"
                               "  -n [ --new-pin ] arg                  New admin PIN for \"options\" input mode.\n"
                               "                                        \n"
                               "  -g [ --gen-settings ] arg (=\"digits lower-letters upper-letters spec-chars\")\n"
                               "                                        New admin PIN generation settings for \n"
                               "                                        \"generate\" input mode.\n"
                               "                                        Possible values:\n"
                               "                                          lower-letters (ll) - lower case \n"
                               "                                        letters;\n"
                               "                                          upper-letters (ul) - upper case \n"
                               "                                        letters;\n"
                               "                                          digits (d) - digits;\n"
                               "                                          spec-chars (sc) - special letters;\n"
                               "                                          length:X (l:X) - generated PIN \n"
                               "                                        length.\n"
                               "                                        \n"
                               "\n";

const std::string kUserPinHelp = "Set user PIN.\n"
                                 "  -P [ --auth-pin-input ] arg (=options)\n"
                                 "                                        Authorization (selected user) PIN input\n"
                                 "                                        mode.\n"
                                 "                                        Possible values:\n"
                                 "                                          console - console input;\n"
                                 "                                          options - options input.\n"
                                 "                                        \n"
                                 "  -p [ --auth-pin ] arg                 Authorization (selected user) PIN for \n"
                                 "                                        \"options\" input mode.\n"
                                 "                                        \n"
                                 "  -N [ --new-pin-input ] arg (=options) New user PIN input mode.\n"
                                 "                                        Possible values:\n"
                                 "                                          console - console input;\n"
                                 "                                          options - options input;\n"
                                 "                                          generate - generate random PIN.\n"
                                 "                                        \n"
                                 "  -n [ --new-pin ] arg                  New user PIN for \"options\" input mode.\n"
                                 "                                        \n"
                                 "  -g [ --gen-settings ] arg (=\"digits lower-letters upper-letters spec-chars\")\n"
                                 "                                        New user PIN generation settings for \n"
                                 "                                        \"generate\" input mode.\n"
                                 "                                        Possible values:\n"
                                 "                                          lower-letters (ll) - lower case \n"
                                 "                                        letters;\n"
                                 "                                          upper-letters (ul) - upper case \n"
                                 "                                        letters;\n"
                                 "                                          digits (d) - digits;\n"
                                 "                                          spec-chars (sc) - special letters;\n"
                                 "                                          length:X (l:X) - generated PIN \n"
                                 "                                        length.\n"
                                 "                                        \n"
                                 "  --auth-as arg                         Set which PIN will be used for \n"
                                 "                                        authorization.\n"
                                 "                                        Possible values:\n"
                                 "                                          user - user PIN;\n"
                                 "                                          so - admin PIN.\n"
                                 "                                        \n"
                                 "\n";

// Help is printed whatever else is given, and nothing is touched.
TEST_F(SetPinCommandsTest, HelpShowsTheCommandsOwnOptions)
{
    scene.add(kSerial, false);
    for (const auto& [command, help] : {std::pair{"set-so-pin", kSoPinHelp}, std::pair{"set-user-pin", kUserPinHelp}}) {
        const auto result = qvadmin.run({command, "--help", "-s", "1", "-e", "2"});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, help);
        EXPECT_EQ(result.err, "");
    }
    EXPECT_FALSE(std::filesystem::exists(qvadmin.folder() / "pin-file.txt"));
}

class OnBothRoads : public SetPinCommandsTest, public testing::WithParamInterface<bool> {};

TEST_P(OnBothRoads, SetSoPinChangesThePinOrCountsTheWrongOne)
{
    scene.add(kSerial, GetParam());
    const auto done = qvadmin.run({"set-so-pin", "-p", kAdminPin, "-n", "11223344"});
    EXPECT_EQ(done.status, 0);
    EXPECT_EQ(done.out, "status: success\n");
    EXPECT_EQ(done.err, "");
    EXPECT_TRUE(
        std::regex_match(log(kSerial), std::regex("timestamp: \\d{4}\\.\\d\\d\\.\\d\\d_\\d\\d\\.\\d\\d\\.\\d\\d\n"
                                                  "serial: 1234567890\nmodel: 01\\.00\\.28\\.05 ZRN 3\\.0\n"
                                                  "set-so-pin\n    new-pin: \\*\\*\\*\nstatus: success\n\n")))
        << log(kSerial);
    EXPECT_FALSE(std::filesystem::exists(qvadmin.folder() / "pin-file.txt"));
    expectPinState(scene.load(kSerial).adminPin, "11223344", 10);

    const auto wrong = qvadmin.run({"set-so-pin", "-p", kAdminPin, "-n", "22334455"});
    EXPECT_EQ(wrong.status, 255);
    EXPECT_EQ(wrong.out, tokenLine(kSerial, "error: Incorrect so PIN. Attempts left: 9.") + kFailure);
    EXPECT_EQ(wrong.err, "");
    qvtoken::TokenStore().modify(kSerial, [](qvtoken::TokenState& token) { token.adminPin.triesLeft = 0; });
    EXPECT_EQ(qvadmin.run({"set-so-pin", "-p", "11223344", "-n", "22334455"}).out,
              tokenLine(kSerial, "error: so PIN is blocked.") + kFailure);
    EXPECT_EQ(TokenScene::pinText(scene.load(kSerial).adminPin), "11223344");
}

TEST_P(OnBothRoads, SetUserPinGeneratesAPinPerTokenAndFilesIt)
{
    scene.add(kSerial, GetParam(), adminSetsUserPin);
    const auto result = qvadmin.run({"set-user-pin", "--auth-as", "so", "-p", kAdminPin, "-N", "generate"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "status: success\n");
    const auto rows = pinRows("user");
    ASSERT_EQ(rows.size(), 1u) << pinFile();
    const auto& pin = rows.at(kSerial);
    EXPECT_EQ(pin.size(), 6u);
    for (const auto& inSet : std::vector<int (*)(int)>{::isdigit, ::islower, ::isupper, ::ispunct}) {
        EXPECT_TRUE(std::any_of(pin.begin(), pin.end(), [&](char c) { return inSet(c) != 0; })) << pin;
    }
    expectPinState(scene.load(kSerial).userPin, pin, 10);
    const auto text = log(kSerial);
    const auto authAs = text.find("\n    auth-as: so\n");
    const auto settings = text.find("\n    gen-settings: \"lower-letters upper-letters digits spec-chars\"\n");
    EXPECT_NE(authAs, std::string::npos);
    EXPECT_LT(authAs, settings);
    EXPECT_LT(settings, text.find("\n    new-pin: " + pin + "\n")) << text;
}

INSTANTIATE_TEST_SUITE_P(, OnBothRoads, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Plugged" : "Unplugged"; });

TEST_F(SetPinCommandsTest, ParallelRunFilesTheSuccessesAndFailsOnce)
{
    const auto otherAdmin = [](qvtoken::TokenState& token) {
        adminSetsUserPin(token);
        token.adminPin.value = {'1', '2', '3', '4', '5', '6', '7', '8'};
    };
    scene.add(3001, false, adminSetsUserPin);
    scene.add(3002, true, otherAdmin);
    scene.add(3003, true, adminSetsUserPin);
    const auto result =
        qvadmin.run({"set-user-pin", "--auth-as", "so", "-p", kAdminPin, "-N", "generate", "--parallel"});
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.out, tokenLine(3002, "error: Incorrect so PIN. Attempts left: 9.") + kFailure);
    EXPECT_EQ(result.err, "");
    const auto rows = pinRows("user");
    EXPECT_EQ(rows.size(), 2u) << pinFile();
    for (const auto serial : {3001, 3003}) {
        EXPECT_EQ(TokenScene::pinText(scene.load(serial).userPin), rows.at(serial));
        EXPECT_NE(log(serial).find("status: success\n"), std::string::npos);
    }
    EXPECT_EQ(TokenScene::pinText(scene.load(3002).userPin), kUserPin);
    EXPECT_NE(log(3002).find("error: Incorrect so PIN. Attempts left: 9.\nstatus: failure\n"), std::string::npos);
}

TEST_F(SetPinCommandsTest, WithoutLogAndPinFileTheConsoleShowsTheGeneratedPin)
{
    scene.add(kSerial, false);
    const auto result = qvadmin.run(
        {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--no-log", "--no-pin-file"});
    EXPECT_EQ(result.status, 0);
    const auto pin = TokenScene::pinText(scene.load(kSerial).userPin);
    EXPECT_NE(pin, kUserPin);
    EXPECT_EQ(result.out, tokenLine(kSerial, "new-pin: " + pin) + "status: success\n");
    EXPECT_FALSE(hasLogFolder());
    EXPECT_FALSE(std::filesystem::exists(qvadmin.folder() / "pin-file.txt"));
}

TEST_F(SetPinCommandsTest, NoTokenOrTwoTokensWithoutParallelTouchNothing)
{
    const std::vector<std::string> args{"set-so-pin", "-p", kAdminPin, "-n", "11223344"};
    const auto none = qvadmin.run(args);
    EXPECT_EQ(none.status, 255);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "Error: No token found.\n");
    EXPECT_FALSE(std::filesystem::exists(qvadmin.folder() / "pin-file.txt"));
    EXPECT_FALSE(hasLogFolder());

    scene.add(3001, false);
    scene.add(3002, true);
    const auto two = qvadmin.run(args);
    EXPECT_EQ(two.status, 255);
    EXPECT_EQ(two.err, "Error: Multiple tokens detected. Use filter and strategy options to adjust behavior.\n");
    for (const auto serial : scene.serials()) {
        expectPinState(scene.load(serial).adminPin, kAdminPin, 10);
    }
    EXPECT_FALSE(hasLogFolder());
}

TEST_F(SetPinCommandsTest, OptionErrorsComeBeforeAnyTokenIsTouched)
{
    scene.add(kSerial, false, adminSetsUserPin);
    const std::string hints = "To see a list of all supported commands, run 'qvadmin --help'.\n"
                              "To see a list of options supported by a specific command, run 'qvadmin <command> "
                              "--help'\n";
    const std::vector<std::string> so{"set-so-pin", "-p", kAdminPin, "-n", "11223344"};
    const auto with = [](std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {with(so, {"-s", "1", "-e", "2"}), "Incompatible options: serial, exclude."},
        {with(so, {"--log-file", "run.log", "--no-log"}), "Incompatible options: no-log, log-file."},
        {with(so, {"--pin-file", "pins.txt", "--no-pin-file"}), "Incompatible options: no-pin-file, pin-file."},
        {{"set-so-pin", "-n", "11223344"}, "Missing specific options for authorization admin PIN."},
        {with(so, {"-N", "console"}), "Failed to deduce how to get new admin PIN."},
        {with(so, {"--pin-file", "pins.txt"}),
         "The pin file option can't be specified for PIN input modes without generation."},
        {{"set-user-pin", "--auth-as", "admin", "-p", kAdminPin, "-n", "112233"},
         "the argument ('admin') for option '--auth-as' is invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto result = qvadmin.run(c.args);
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Syntax error: " + c.message + "\n" + hints);
    }
    const auto token = scene.load(kSerial);
    expectPinState(token.adminPin, kAdminPin, 10);
    expectPinState(token.userPin, kUserPin, 10);
    EXPECT_FALSE(hasLogFolder());

    std::ofstream(qvadmin.folder() / "qvadmin_conf.ini")
        << "log-file=" << (qvadmin.scratch() / "run.log").string() << "\n";
    const auto configured = qvadmin.run(with(so, {"--no-log"}));
    EXPECT_EQ(configured.status, 0) << configured.err;
    EXPECT_FALSE(std::filesystem::exists(qvadmin.scratch() / "run.log"));
    EXPECT_FALSE(hasLogFolder());
}

TEST_F(SetPinCommandsTest, ConsolePinsAreAskedOnceWithoutEcho)
{
    scene.add(3001, false);
    scene.add(3002, true);
    const std::vector<std::string> args{"set-so-pin", "-P", "console", "-N", "console", "--parallel"};
    const std::vector<std::string> prompts{
        "Enter authorization admin PIN: ", "Enter new admin PIN: ", "Enter new admin PIN again: "};
    for (const bool confirmed : {false, true}) {
        SCOPED_TRACE(confirmed ? "confirmed" : "not confirmed");
        const auto terminal = qvadmin.runOnTerminal(args);
        const std::vector<std::string> typed{kAdminPin, "11223344", confirmed ? "11223344" : "11223345"};
        for (std::size_t i = 0; i < prompts.size(); ++i) {
            terminal->waitFor(prompts[i]);
            terminal->type(typed[i] + "\n");
        }
        const int status = terminal->finish();
        const auto& seen = terminal->output();
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), confirmed ? 0 : 255);
        EXPECT_TRUE(terminal->echoOn());
        for (const auto& prompt : prompts) {
            EXPECT_EQ(seen.find(prompt), seen.rfind(prompt)) << seen;
        }
        for (const auto& pin : typed) {
            EXPECT_EQ(seen.find(pin), std::string::npos) << seen;
        }
        EXPECT_NE(seen.find(confirmed ? "status: success" : "Error: Confirmation of new admin PIN failed."),
                  std::string::npos)
            << seen;
        for (const auto serial : scene.serials()) {
            EXPECT_EQ(TokenScene::pinText(scene.load(serial).adminPin), confirmed ? "11223344" : kAdminPin);
        }
    }
}

TEST_F(SetPinCommandsTest, ConsolePinsComeFromAPipe)
{
    scene.add(kSerial, true);
    const auto result =
        qvadmin.run({"set-so-pin", "-P", "console", "-N", "console"}, kAdminPin + "\n11223344\n11223344\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.substr(result.out.size() - 16), "status: success\n");
    EXPECT_EQ(TokenScene::pinText(scene.load(kSerial).adminPin), "11223344");
}

// Given and typed PINs reach the token only: the module's trace holds their lengths alone.
TEST_F(SetPinCommandsTest, SetSoPinMakesOnlyItsOwnModuleCallsAndShowsNoPin)
{
    scene.add(kSerial, false);
    qvadmin.traceModule();
    const auto result = qvadmin.run({"set-so-pin", "-p", kAdminPin, "-n", "11223344"});
    EXPECT_EQ(result.status, 0);
    std::istringstream trace(qvadmin.trace());
    std::vector<std::string> entries;
    for (std::string line; std::getline(trace, line);) {
        entries.push_back(line.substr(0, line.find(' ')));
    }
    const std::vector<std::string> expected{// Enumeration: the slots, the TLS query and the serial.
                                            "C_Initialize", "C_GetSlotList", "C_GetSlotList", "C_GetSlotInfo",
                                            "C_EX_SlotManage", "C_EX_GetTokenInfoExtended",
                                            // The token's information for its log record.
                                            "C_GetTokenInfo", "C_EX_GetTokenInfoExtended", "C_OpenSession",
                                            "C_EX_GetTokenName", "C_EX_GetTokenName", "C_CloseSession",
                                            // The change itself.
                                            "C_OpenSession", "C_Login", "C_SetPIN", "C_Logout", "C_CloseSession",
                                            "C_Finalize"};
    EXPECT_EQ(entries, expected) << qvadmin.trace();
    for (const auto& text : {result.out, result.err, log(kSerial), pinFile(), qvadmin.trace()}) {
        EXPECT_EQ(text.find(kAdminPin), std::string::npos);
        EXPECT_EQ(text.find("11223344"), std::string::npos);
    }
}

// The PIN file sits on a full disk while one of three tokens fails: the run says that the PINs
// of the others were not filed.
TEST_F(SetPinCommandsTest, AFailedRunStillReportsAPinFileThatWasNotWritten)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    const auto full = qvadmin.scratch() / "full";
    std::filesystem::create_directory(full);
    ASSERT_EQ(unshare(CLONE_NEWNS), 0) << std::strerror(errno);
    ASSERT_EQ(mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
    ASSERT_EQ(mount("tmpfs", full.c_str(), "tmpfs", 0, "size=16k"), 0) << std::strerror(errno);
    {
        std::ofstream filler(full / "filler", std::ios::binary);
        const std::string block(4096, '\0');
        while (filler.write(block.data(), block.size()).flush()) {
        }
    }
    scene.add(3001, false, adminSetsUserPin);
    scene.add(3002, true, [](qvtoken::TokenState& token) { token.adminPin.value = {'1', '2', '3', '4', '5', '6'}; });
    scene.add(3003, true, adminSetsUserPin);
    const auto result = qvadmin.run({"set-user-pin", "--auth-as", "so", "-p", kAdminPin, "-N", "generate", "--parallel",
                                     "--pin-file", (full / "pins.txt").string()});
    umount(full.c_str());
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.out, tokenLine(3002, "error: Incorrect so PIN. Attempts left: 9.") + kFailure);
    // The rows that did not reach the file are shown instead; then the run says so.
    const std::string said = "Logger error: Not enough space on the disk to write the log.\n";
    ASSERT_GE(result.err.size(), said.size());
    EXPECT_EQ(result.err.substr(result.err.size() - said.size()), said) << result.err;
}

} // namespace
