#include "ProbeFolder.h"
#include "PtyDriver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/wait.h>

namespace {

const std::string kPrompt = "Enter new user PIN: ";
const std::string kPromptAgain = "Enter new user PIN again: ";

std::vector<std::string> consoleArgs(bool confirm)
{
    return confirm ? std::vector<std::string>{"console", "confirm"} : std::vector<std::string>{"console"};
}

TEST(PinConsoleTest, TerminalPromptsWithoutEchoAndGivesEchoBack)
{
    struct Case {
        const char* what;
        bool confirm;
        std::vector<std::string> keys; // typed after each prompt in turn
        std::string result;
    };
    const Case cases[] = {
        {"success", true, {"s3cret\n", "s3cret\n"}, "PIN733363726574\r\n"},
        {"mismatch", true, {"s3cret\n", "s3creT\n"}, "Error: Confirmation of new user PIN failed.\r\n"},
        {"end of input mid-PIN", false, {"12\x04\x04"}, "PIN3132\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeFolder folder;
        PtyDriver pty(folder.program().string(), consoleArgs(c.confirm));
        const std::string prompts[] = {kPrompt, kPromptAgain};
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            pty.waitFor(prompts[i]);
            EXPECT_FALSE(pty.echoOn());
            pty.type(c.keys[i]);
        }
        const int status = pty.finish();
        EXPECT_TRUE(WIFEXITED(status));
        const std::string expectedStart = c.confirm ? kPrompt + "\r\n" + kPromptAgain + "\r\n" : kPrompt + "\r\n";
        EXPECT_EQ(pty.output().substr(0, expectedStart.size()), expectedStart) << pty.output();
        EXPECT_NE(pty.output().find(c.result), std::string::npos) << pty.output();
        EXPECT_EQ(pty.output().find("s3c"), std::string::npos) << "echoed: " << pty.output();
        EXPECT_EQ(pty.output().find("12"), std::string::npos) << "echoed: " << pty.output();
        EXPECT_TRUE(pty.echoOn());
    }
}

TEST(PinConsoleTest, InterruptAtThePromptGivesEchoBackAndEndsBySignal)
{
    ProbeFolder folder;
    PtyDriver pty(folder.program().string(), consoleArgs(true));
    pty.waitFor(kPrompt);
    pty.type("12");
    pty.type("\x03");
    const int status = pty.finish();
    ASSERT_TRUE(WIFSIGNALED(status)) << pty.output();
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_TRUE(pty.echoOn());
}

TEST(PinConsoleTest, InputThatIsNoTerminalIsReadAsItIs)
{
    ProbeFolder folder;
    const std::string prompts = kPrompt + "\n" + kPromptAgain + "\n";
    EXPECT_EQ(folder.run(consoleArgs(true), "", "ab c\nab c\n"), prompts + "PIN61622063\n");
    EXPECT_EQ(folder.run(consoleArgs(true), "", "ab\nabc\n"),
              prompts + "Error: Confirmation of new user PIN failed.\n");
    std::ofstream(folder.program().parent_path() / "pins") << "x1\ny2\n";
    EXPECT_EQ(folder.run(consoleArgs(false), "<pins"), kPrompt + "\nPIN7831\n");
    EXPECT_EQ(folder.run(consoleArgs(false), "", "x1\r\n"), kPrompt + "\nPIN7831\n");
    EXPECT_EQ(folder.run(consoleArgs(true), "</dev/null"), kPrompt + "\nError: No new user PIN was given.\n");
    const std::string unreadable = "Error: Couldn't read the PIN from the standard input.\n";
    EXPECT_EQ(folder.run(consoleArgs(false), "<&-"), unreadable);
    EXPECT_EQ(folder.run(consoleArgs(false), "</"), kPrompt + unreadable);
}

} // namespace
