#include "TokenCommandTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class PinInputOnBothRoads : public TokenCommandTest, public testing::WithParamInterface<bool> {};

// Nothing that cannot be a PIN reaches the token: its tries stay as they were.
TEST_P(PinInputOnBothRoads, EmptyOrUnreadablePinsCostNoTryAndACrLfLineAuthorises)
{
    scene.add(kSerial, GetParam());
    const std::vector<std::string> console{"unblock-pins", "-P", "console"};
    const std::string noPin = "Error: No authorization admin PIN was given.\n";
    const std::string unreadable = "Error: Couldn't read the PIN from the standard input.\n";
    const auto closedInput = [] { close(STDIN_FILENO); };
    const auto directoryInput = [] { dup2(open("/", O_RDONLY | O_DIRECTORY), STDIN_FILENO); };
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string input;
        std::function<void()> beforeExec;
        std::string err;
    };
    const Case cases[] = {
        {"end of input", console, "", {}, noPin},
        {"empty line", console, "\n", {}, noPin},
        {"CR LF alone", console, "\r\n", {}, noPin},
        {"empty option", {"unblock-pins", "-p", ""}, "", {}, noPin},
        {"closed input", console, "", closedInput, unreadable},
        {"directory as input", console, "", directoryInput, unreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = qvadmin.run(c.args, c.input, c.beforeExec);
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(scene.load(kSerial).adminPin.triesLeft, 10u);
    }
    for (const auto& typed : {kAdminPin + "\r\n", kAdminPin}) {
        const auto result = qvadmin.run(console, typed);
        EXPECT_EQ(result.status, 0) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(, PinInputOnBothRoads, testing::Values(false, true), roadName);

// The effective user and group ids of a process, from its status.
std::pair<unsigned, unsigned> effectiveIds(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    unsigned uid = 0;
    unsigned gid = 0;
    for (std::string line; std::getline(status, line);) {
        std::istringstream fields(line);
        std::string key;
        unsigned real = 0;
        unsigned effective = 0;
        fields >> key >> real >> effective;
        if (key == "Uid:") {
            uid = effective;
        } else if (key == "Gid:") {
            gid = effective;
        }
    }
    return {uid, gid};
}

// At a prompt the process holds a PIN: no core file, no dump; a hangup it was started to
// ignore leaves it waiting; ^Z stops it with echo on, and it asks again with echo off.
TEST_F(TokenCommandTest, AtAPromptTheProcessKeepsItsMemoryAndTheTerminalSafe)
{
    scene.add(kSerial, false);
    const auto terminal = qvadmin.runOnTerminal({"set-label", "-P", "console", "-l", "typed"}, [] {
        signal(SIGHUP, SIG_IGN);
        // Ids of its own, so that a process readable by its owner shows in its files' owner.
        if (geteuid() == 0 && setgid(65534) != 0) {
            _exit(125);
        }
    });
    const std::string prompt = "Enter authorization user PIN: ";
    terminal->waitFor(prompt);
    const pid_t pid = terminal->pid();
    // The files of a process that cannot be dumped belong to root.
    struct stat owner {};
    ASSERT_EQ(stat(("/proc/" + std::to_string(pid) + "/environ").c_str(), &owner), 0);
    ASSERT_NE(effectiveIds(pid), std::make_pair(0u, 0u));
    EXPECT_EQ(std::make_pair(owner.st_uid, owner.st_gid), std::make_pair(0u, 0u)) << "the process is dumpable";
    std::ifstream limitsFile("/proc/" + std::to_string(pid) + "/limits");
    const std::string limits((std::istreambuf_iterator<char>(limitsFile)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(std::regex_search(limits, std::regex("\nMax core file size +0 +0 +bytes"))) << limits;

    ASSERT_EQ(kill(pid, SIGHUP), 0);
    terminal->type("\x1a");
    terminal->waitStopped();
    EXPECT_TRUE(terminal->echoOn());
    ASSERT_EQ(kill(pid, SIGCONT), 0);
    terminal->waitFor(prompt);
    EXPECT_FALSE(terminal->echoOn());
    terminal->type(kUserPin + "\n");
    const int status = terminal->finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << terminal->output();
    EXPECT_EQ(terminal->output().find(kUserPin), std::string::npos) << terminal->output();
    EXPECT_EQ(scene.load(kSerial).label, "typed");
}

// A generated PIN that standard output does not take reaches the operator on standard error.
TEST_F(TokenCommandTest, AGeneratedPinOutlivesALostStandardOutput)
{
    scene.add(kSerial, true);
    const auto fullDisk = [] { dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO); };
    const auto goneReader = [] {
        int ends[2];
        if (pipe(ends) != 0) {
            _exit(125);
        }
        close(ends[0]);
        dup2(ends[1], STDOUT_FILENO);
    };
    const auto closedOutput = [] { close(STDOUT_FILENO); };
    const std::vector<std::function<void()>> outputs{fullDisk, goneReader, closedOutput};
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        SCOPED_TRACE(i);
        const auto result = qvadmin.run(
            {"create-local-pin", "-p", kUserPin, "-N", "generate", "--no-log", "--no-pin-file"}, "", outputs[i]);
        EXPECT_EQ(result.status, 255);
        std::smatch line;
        ASSERT_TRUE(std::regex_search(result.err, line, std::regex("Local id: (\\d+), [^:]+: (\\S+)\n"))) << result.err;
        const auto token = scene.load(kSerial);
        const auto held = std::find_if(token.directory.begin(), token.directory.end(), [&line](const auto& entry) {
            const auto* local = std::get_if<qvtoken::LocalPin>(&entry);
            return local != nullptr && std::to_string(local->id) == line[1];
        });
        ASSERT_NE(held, token.directory.end());
        EXPECT_EQ(TokenScene::pinText(std::get<qvtoken::LocalPin>(*held).pin), line[2]);
        EXPECT_NE(result.err.find("Error: Failed to write to the standard output.\n"), std::string::npos);
    }
}

// A length no token takes is refused with the command line, before any token is opened.
TEST_F(TokenCommandTest, AGeneratedPinLengthAbove255IsASyntaxError)
{
    scene.add(kSerial, false);
    qvadmin.traceModule();
    const auto result = qvadmin.run({"set-so-pin", "-p", kAdminPin, "-N", "generate", "-g", "d", "l:256"});
    EXPECT_EQ(result,
              (CommandResult{255, "", syntaxError("the argument ('l:256') for option '--gen-settings' is invalid")}));
    // Only the enumeration at start-up: no token is opened.
    EXPECT_EQ(qvadmin.trace().find("Session"), std::string::npos) << qvadmin.trace();
}

// Under --parallel a line about a failed logout must say whose it was.
TEST_F(TokenCommandTest, AFailedLogoutAfterTheChangeNamesTheToken)
{
    scene.add(kSerial, false, [](qvtoken::TokenState& token) {
        token.moduleFaults.push_back({"C_Logout", 0x30, 0, 1});
    });
    const auto result = qvadmin.run({"set-label", "-p", kUserPin, "-l", "changed"});
    EXPECT_EQ(result, (CommandResult{0, kSuccess, "serial: 1234567890, logout failed: PKCS11: CKR_DEVICE_ERROR\n"}));
    EXPECT_EQ(scene.load(kSerial).label, "changed");
}

} // namespace
