// What the operator learns when a token fails part-way: faults injected with qvtoken, the
// token read back afterwards.
#include "TokenCommandTest.h"

#include <cstdlib>
#include <functional>
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

// A generated PIN reaches the operator whatever fails once it was sent; a failure before that
// hands out nothing. `held` says whether the token then holds the new PIN.
TEST_F(TokenCommandTest, AGeneratedPinReachesTheOperatorWhateverFailsAfterItWasSent)
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
        tokens.add(kSerial, c.plugged);
        CommandRun run;
        if (c.plugged) {
            ASSERT_EQ(
                run.run({"create-local-pin", "-p", kUserPin, "-n", kLocalPin, "--no-log", "--no-pin-file"}).status, 0);
        }
        qvtoken(c.fault);
        const auto result = run.run(c.args);
        EXPECT_EQ(result.status, c.succeeds ? 0 : 255);
        const auto pinFile = run.read(run.folder() / "pin-file.txt");
        const auto pin = handedOver(pinFile, result.err);
        ASSERT_FALSE(pin.empty()) << result.out << result.err << pinFile;
        const auto token = tokens.load(kSerial);
        const auto tokenPin = TokenScene::pinText(c.plugged ? token.findLocalPin(4)->pin : token.userPin);
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
