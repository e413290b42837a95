// What the operator learns when a token fails part-way: faults injected with qvtoken, the
// token read back afterwards.
#include "TokenCommandTest.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <regex>

namespace {

const std::string kLocalPin = "11112222";

// Runs qvtoken, which sets faults in the tokens' state.
void qvtoken(const std::string& args)
{
    ASSERT_EQ(std::system((std::string(QVTOKEN_PATH) + " " + args + " >/dev/null").c_str()), 0) << args;
}

// The PIN that the PIN file, or else the standard error stream, hands the operator.
std::string handedOver(const std::string& pinFile, const std::string& err)
{
    std::smatch row;
    if (std::regex_search(pinFile, row, std::regex("\n1234567890;(?:local-4|user);(\\S+)\n")) ||
        std::regex_search(err, row,
                          std::regex("^Token 1234567890: the operation failed after the generated "
                                     "(?:local-4|user) PIN was sent; the token may now hold this PIN: "
                                     "(\\S+)\n$"))) {
        return row[1];
    }
    return {};
}

// The rows of a table of generated local or user PINs: one `full` token, plugged with local PIN
// 4 (kLocalPin) or unplugged.
class FaultReportTest : public TokenCommandTest {
protected:
    void addToken(TokenScene& tokens, const CommandRun& run, bool plugged) const
    {
        tokens.add(kSerial, plugged);
        if (plugged) {
            EXPECT_EQ(
                run.run({"create-local-pin", "-p", kUserPin, "-n", kLocalPin, "--no-log", "--no-pin-file"}).status, 0);
        }
    }
    // The PIN the row changed: local PIN 4 of a plugged token, else the user PIN.
    static std::string heldPin(const TokenScene& tokens, bool plugged)
    {
        const auto token = tokens.load(kSerial);
        return TokenScene::pinText(plugged ? token.findLocalPin(4)->pin : token.userPin);
    }
};

// A generated PIN reaches the operator whatever fails once it was sent; a failure before that
// hands out nothing. `held` says whether the token then holds the new PIN.
TEST_F(FaultReportTest, AGeneratedPinReachesTheOperatorWhateverFailsAfterItWasSent)
{
    struct Case {
        const char* name;
        bool plugged;
        std::string fault;
        std::vector<std::string> args;
        bool succeeds;
        bool held;
    };
    const std::string serial = std::to_string(kSerial);
    const std::vector<std::string> setLocal{"set-local-pin", "-i", "4", "-p", kLocalPin, "-N", "generate"};
    const Case cases[] = {
        // The card took the change; only the re-check of the library's stored login failed.
        {"follow-up VERIFY", true, "card-fault " + serial + " sw 6F00 --ins 20 --p2 84 --nth 3 --once", setLocal, true,
         true},
        {"refused change", true, "card-fault " + serial + " sw 6F00 --ins 24 --once", setLocal, false, false},
        {"module refusal",
         false,
         "fault " + serial + " C_SetPIN 0x30 --once",
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate"},
         false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TokenScene tokens;
        CommandRun run;
        addToken(tokens, run, c.plugged);
        qvtoken(c.fault);
        const auto result = run.run(c.args);
        EXPECT_EQ(result.status, c.succeeds ? 0 : 255);
        const auto pinFile = run.read(run.folder() / "pin-file.txt");
        const auto pin = handedOver(pinFile, result.err);
        ASSERT_FALSE(pin.empty()) << result.out << result.err << pinFile;
        const auto tokenPin = heldPin(tokens, c.plugged);
        EXPECT_EQ(tokenPin == pin, c.held) << tokenPin;
        const auto log = run.read(run.folder() / "qvadmin-logs" / ("qvadmin_" + serial + ".log"));
        EXPECT_NE(log.find("    new-pin: " + pin + "\n"), std::string::npos) << log;
    }
    // A refused login sends nothing: no PIN is handed out.
    scene.add(kSerial, true);
    qvadmin.run({"create-local-pin", "-p", kUserPin, "-n", kLocalPin});
    const auto refused = qvadmin.run({"set-local-pin", "-i", "4", "-p", "99998888", "-N", "generate"});
    EXPECT_EQ(refused.out, tokenLine(kSerial, "error: Incorrect local-4 PIN. Attempts left: 9.") + kFailure);
    EXPECT_EQ(refused.err, "");
}

// A token that refuses a new PIN before making the change keeps its own, so the generated one is
// handed out nowhere; a length above the token's maximum is refused before anything is sent.
TEST_F(FaultReportTest, AGeneratedPinTheTokenRefusedBeforeTheChangeIsNotHandedOut)
{
    struct Case {
        const char* name;
        bool plugged;
        std::string fault;
        std::vector<std::string> args;
        std::string error;
    };
    const std::string serial = std::to_string(kSerial);
    const std::vector<std::string> setUser{"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate"};
    const std::vector<std::string> setLocal{"set-local-pin", "-i", "4", "-p", kLocalPin, "-N", "generate"};
    const auto with = [](std::vector<std::string> args, const std::string& settings) {
        args.insert(args.end(), {"-g", settings});
        return args;
    };
    const Case cases[] = {
        {"user PIN above the maximum", false, "", with(setUser, "l:64"),
         "The generated PIN length 64 exceeds the token's maximum PIN length 32."},
        {"local PIN above the maximum", true, "", with(setLocal, "l:33"),
         "The generated PIN length 33 exceeds the token's maximum PIN length 32."},
        // The PIN change policy lets only the user change the user PIN.
        {"prohibited",
         false,
         "",
         {"set-user-pin", "--auth-as", "so", "-p", kAdminPin, "-N", "generate"},
         "PKCS11: CKR_ACTION_PROHIBITED"},
        {"module: length range", false, "fault " + serial + " C_SetPIN 0xA2 --once", setUser,
         "PKCS11: CKR_PIN_LEN_RANGE"},
        {"card: security status", true, "card-fault " + serial + " sw 6982 --ins 24 --once", setLocal,
         "Qvflash: Invalid access rights"},
        {"card: wrong PIN", true, "card-fault " + serial + " sw 63C2 --ins 24 --once", setLocal,
         "Qvflash: An internal error has occurred"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TokenScene tokens;
        CommandRun run;
        addToken(tokens, run, c.plugged);
        if (!c.fault.empty()) {
            qvtoken(c.fault);
        }
        const auto result = run.run(c.args);
        EXPECT_EQ(result, (CommandResult{255, tokenLine(kSerial, "error: " + c.error) + kFailure, ""}));
        EXPECT_EQ(heldPin(tokens, c.plugged), c.plugged ? kLocalPin : kUserPin);
        const auto log = run.read(run.folder() / "qvadmin-logs" / ("qvadmin_" + serial + ".log"));
        EXPECT_EQ(log.find("new-pin:"), std::string::npos) << log;
    }
}

// A change the token made is stated when only what follows it fails: the restart after a new
// layout or a permanent access mode, or the resets after the user PIN's in unblock-pins.
TEST_F(TokenCommandTest, AChangeTheTokenMadeIsStatedWhenWhatFollowsItFails)
{
    struct Case {
        const char* name;
        std::string fault;
        std::vector<std::string> args;
        std::string stated;
        std::function<bool(const qvtoken::TokenState&)> made;
    };
    const std::string serial = std::to_string(kSerial);
    const std::string refusedRestart = "card-fault " + serial + " sw 6F00 --ins 53 --p1 14 --once";
    const Case cases[] = {
        {"format-drive",
         refusedRestart,
         {"format-drive", "-p", kAdminPin, "--volume", "100:rw:user", "500:h:none:journal"},
         "; the token took the new volume layout, only its restart after the change failed.",
         [](const qvtoken::TokenState& token) {
             return token.drive.sections.size() == 2 && token.drive.sections[0].size == 100;
         }},
        {"permanent access mode",
         refusedRestart,
         {"set-volume-access-mode", "--volume-id", "1", "--new-mode", "r", "-p", kUserPin},
         "; the token took the new access mode, only its restart after the change failed.",
         [](qvtoken::TokenState token) { return token.drive.currentAccess(*token.drive.findSection(1)) == 1; }},
        // User PIN, MVA 5, then local PIN 3, whose reset fails.
        {"unblock-pins",
         "card-fault " + serial + " sw 6A82 --ins 2C --nth 3 --once",
         {"unblock-pins", "-p", kAdminPin},
         "; counters reset before the failure: user, mva-5; the others were not reset.",
         [](qvtoken::TokenState token) {
             return token.userPin.triesLeft == 10 && token.findMva(5)->triesLeft == 10 &&
                    token.findLocalPin(3)->pin.triesLeft == 1;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TokenScene tokens;
        tokens.add(kSerial, true, [](qvtoken::TokenState& token) {
            token.directory.emplace_back(qvtoken::MvaFile{5, 8, 1, {}, 10, 1, {}, {}});
            token.userPin.triesLeft = 1;
            token.findLocalPin(3)->pin.triesLeft = 1;
        });
        qvtoken(c.fault);
        const auto result = CommandRun().run(c.args);
        EXPECT_EQ(result.status, 255);
        EXPECT_NE(result.out.find(c.stated + "\n" + kFailure), std::string::npos) << result.out;
        EXPECT_TRUE(c.made(tokens.load(kSerial)));
    }
}

// A token whose information cannot be read is named on the console with the error, alone or
// among tokens run in parallel; it has no log, the others go on.
TEST_F(TokenCommandTest, ATokenWhoseInformationCannotBeReadIsNamed)
{
    struct Case {
        const char* name;
        std::string fault;
        std::vector<std::string> args;
        std::string line;
    };
    const std::string failing = std::to_string(kSerial + 1);
    const Case cases[] = {
        {"alone",
         "fault " + failing + " C_GetTokenInfo 0x30 --once",
         {"set-label", "-s", failing, "-p", kUserPin, "-l", "X"},
         "serial: " + failing + ", error: PKCS11: CKR_DEVICE_ERROR\n"},
        {"parallel",
         "fault " + failing + " C_GetTokenInfo 0x30 --once",
         {"set-label", "--parallel", "-p", kUserPin, "-l", "X"},
         "serial: " + failing + ", error: PKCS11: CKR_DEVICE_ERROR\n"},
        // Gone when its session was opened: the token no longer tells its serial.
        {"gone",
         "fault " + failing + " C_OpenSession 0xE0 --once",
         {"set-label", "-s", failing, "-p", kUserPin, "-l", "X"},
         "slot: 21, error: PKCS11: CKR_TOKEN_NOT_PRESENT\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TokenScene tokens;
        for (std::uint64_t serial = kSerial; serial < kSerial + 3; ++serial) {
            tokens.add(serial, false);
        }
        qvtoken(c.fault);
        CommandRun run;
        const auto result = run.run(c.args);
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.out, c.line + kFailure);
        EXPECT_FALSE(std::filesystem::exists(run.folder() / "qvadmin-logs" / ("qvadmin_" + failing + ".log")));
        EXPECT_NE(tokens.load(kSerial + 1).label, "X");
        EXPECT_EQ(tokens.load(kSerial + 2).label == "X", c.args[1] == "--parallel");
    }
}

// A log that cannot be written, a token's own log refused beside another token's failure, a
// standard error stream that takes nothing: the PIN each token holds afterwards is on the
// row's stream, and every chosen token is named.
TEST_F(TokenCommandTest, ThePinATokenHoldsIsShownAndEveryTokenNamedWhenALogOrStreamFails)
{
    namespace fs = std::filesystem;
    const std::uint64_t other = kSerial + 1;
    const auto gone = qvadmin.scratch() / "gone" / "qv.log";
    const auto full = qvadmin.scratch() / "full";
    const auto ownLog = [this](std::uint64_t serial) {
        return qvadmin.folder() / "qvadmin-logs" / ("qvadmin_" + std::to_string(serial) + ".log");
    };
    const auto couldNotOpen = [](const fs::path& path) {
        return "error: Couldn't open or create file: " + path.string() + ".";
    };
    const std::vector<std::string> generateUser{"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate"};
    const auto with = [](std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    struct Row {
        const char* name;
        std::function<void(TokenScene&)> setUp;
        std::function<CommandResult()> run;
        std::vector<std::string> outSays;
        std::vector<std::string> errSays;
        // Whether the tokens take new PINs, and the stream that must then show them.
        bool changed;
        bool onErr;
        bool localPin;
    };
    const Row rows[] = {
        // Both streams meet on the operator's terminal.
        {"log folder removed at the prompt",
         [&](TokenScene& tokens) {
             tokens.add(kSerial, false);
             tokens.add(other, false);
         },
         [&] {
             const auto terminal =
                 qvadmin.runOnTerminal({"set-user-pin", "--auth-as", "user", "-P", "console", "-N", "generate",
                                        "--no-pin-file", "--parallel", "--log-file", gone.string()});
             terminal->waitFor("Enter selected user PIN: ");
             fs::remove_all(gone.parent_path());
             terminal->type(kUserPin + "\n");
             const int status = terminal->finish();
             auto seen = terminal->output();
             seen.erase(std::remove(seen.begin(), seen.end(), '\r'), seen.end());
             return CommandResult{WIFEXITED(status) ? WEXITSTATUS(status) : -1, seen, ""};
         },
         {tokenLine(kSerial, "logger " + couldNotOpen(gone)), tokenLine(other, "logger " + couldNotOpen(gone)),
          kFailure},
         {},
         true,
         false,
         false},
        {"log on a full disk",
         [](TokenScene& tokens) { tokens.add(kSerial, false); },
         [&] {
             fs::create_directory(full);
             if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                 mount("tmpfs", full.c_str(), "tmpfs", 0, "size=16k") != 0) {
                 throw std::runtime_error(std::string("cannot mount a file system: ") + std::strerror(errno));
             }
             // Closed before the run: an open file keeps the file system busy, so that neither it
             // nor the folder could be removed at the end.
             {
                 std::ofstream filler(full / "filler", std::ios::binary);
                 const std::string block(4096, '\0');
                 while (filler.write(block.data(), block.size()).flush()) {
                 }
             }
             const auto result =
                 qvadmin.run(with(generateUser, {"--no-pin-file", "--log-file", (full / "qv.log").string()}));
             EXPECT_EQ(umount(full.c_str()), 0) << std::strerror(errno);
             return result;
         },
         {kSuccess},
         {"serial: " + std::to_string(kSerial) + "\n",
          "Logger error: Not enough space on the disk to write the log.\n"},
         true,
         true,
         false},
        {"own log a link beside a refused PIN",
         [&](TokenScene& tokens) {
             tokens.add(kSerial, false, [](qvtoken::TokenState& token) { token.userPin.value = {'9', '9', '9', '9'}; });
             tokens.add(other, false);
             fs::create_directories(ownLog(other).parent_path());
             fs::create_symlink(qvadmin.scratch() / "target.log", ownLog(other));
         },
         [&] { return qvadmin.run(with(generateUser, {"--parallel"})); },
         {tokenLine(kSerial, "error: Incorrect user PIN. Attempts left: 9."),
          tokenLine(other, couldNotOpen(ownLog(other))), kFailure},
         {},
         false,
         false,
         false},
        {"standard error full",
         [&](TokenScene& tokens) {
             tokens.add(kSerial, true);
             ASSERT_EQ(
                 qvadmin.run({"create-local-pin", "-p", kUserPin, "-n", kLocalPin, "--no-log", "--no-pin-file"}).status,
                 0);
             qvtoken("card-fault " + std::to_string(kSerial) + " sw 6F00 --ins 24 --once");
         },
         [&] {
             return qvadmin.run(
                 {"set-local-pin", "-i", "4", "-p", kLocalPin, "-N", "generate", "--no-log", "--no-pin-file"}, {},
                 [] { dup2(open("/dev/full", O_WRONLY), STDERR_FILENO); });
         },
         {"Token " + std::to_string(kSerial) +
              ": the operation failed after the generated local-4 PIN was sent; the token may now hold this PIN: ",
          kFailure},
         {},
         false,
         false,
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TokenScene tokens;
        row.setUp(tokens);
        const auto pinOf = [&](std::uint64_t serial) {
            const auto token = tokens.load(serial);
            return TokenScene::pinText(row.localPin ? token.findLocalPin(4)->pin : token.userPin);
        };
        std::map<std::uint64_t, std::string> before;
        for (const auto serial : tokens.serials()) {
            before[serial] = pinOf(serial);
        }
        const auto result = row.run();
        EXPECT_EQ(result.status, 255);
        for (const auto& said : row.outSays) {
            EXPECT_NE(result.out.find(said), std::string::npos) << said << "\nin:\n" << result.out;
        }
        for (const auto& said : row.errSays) {
            EXPECT_NE(result.err.find(said), std::string::npos) << said << "\nin:\n" << result.err;
        }
        for (const auto serial : tokens.serials()) {
            EXPECT_NE((result.out + result.err).find(std::to_string(serial)), std::string::npos) << serial;
            const auto held = pinOf(serial);
            EXPECT_EQ(held != before[serial], row.changed) << serial;
            if (held != before[serial]) {
                const auto& shown = row.onErr ? result.err : result.out;
                EXPECT_NE(shown.find("    new-pin: " + held + "\n"), std::string::npos) << held << "\nin:\n" << shown;
            }
        }
        fs::remove_all(qvadmin.folder() / "qvadmin-logs");
    }
}

// One card that cannot tell its serial fails no other token: a glitch under --parallel stays on
// its own token's line, and a card that keeps refusing or keeps dropping off leaves the others
// workable, also through their restart after a new layout. B sits before A and C on the bus.
TEST_F(TokenCommandTest, OneCardsTroubleStaysOnItsOwnTokensLine)
{
    struct Case {
        const char* name;
        std::string fault;
        std::vector<std::string> args;
    };
    const std::string a = std::to_string(kSerial);
    const std::string b = std::to_string(kSerial + 1);
    const std::string serialRead = " --ins CA --p1 01 --p2 81";
    const std::vector<std::string> formatDrive{"format-drive", "-s", a, "-p", kAdminPin, "--volume", "100:rw:user"};
    const Case cases[] = {
        {"glitch", "card-fault " + b + " sw 6F00 --once" + serialRead, {"unblock-pins", "--parallel", "-p", kAdminPin}},
        {"refusing", "card-fault " + b + " sw 6F00 --always" + serialRead, {"unblock-pins", "-s", a, "-p", kAdminPin}},
        {"refusing, restart", "card-fault " + b + " sw 6F00 --always" + serialRead, formatDrive},
        {"held away, restart", "card-fault " + b + " close 0 --always" + serialRead, formatDrive},
    };
    const auto blocked = [](qvtoken::TokenState& token) { token.userPin.triesLeft = 1; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TokenScene tokens;
        tokens.add(kSerial + 1, true, blocked);
        tokens.add(kSerial, true, blocked);
        tokens.add(kSerial + 2, true, blocked);
        qvtoken(c.fault);
        const auto result = CommandRun().run(c.args);
        const bool parallel = c.args[1] == "--parallel";
        // Under --parallel B may meet its glitch when its own card is read.
        if (!parallel || result.status == 0) {
            EXPECT_EQ(result.out, kSuccess);
        } else {
            EXPECT_EQ(result.out, tokenLine(kSerial + 1, "error: Qvflash: An internal error has occurred") + kFailure);
        }
        if (c.args[0] == "format-drive") {
            EXPECT_EQ(tokens.load(kSerial).drive.sections.at(0).size, 100U);
            continue;
        }
        EXPECT_EQ(tokens.load(kSerial).userPin.triesLeft, 10U);
        EXPECT_EQ(tokens.load(kSerial + 2).userPin.triesLeft == 10U, parallel);
    }
}

} // namespace
