// The program's help and each command's, compared whole with the texts kept beside this test:
// help.txt for the program, help-COMMAND.txt for a command.
#include "CommandRun.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandHelp, ShowsTheCommandsOwnOptionsExactly)
{
    const CommandRun qvadmin;
    const auto program = qvadmin.run({"--help"});
    EXPECT_EQ(program, (CommandResult{0, qvadmin.read(std::filesystem::path(QV_EXPECTED_DIR) / "help.txt"), ""}));
    for (const auto& file : std::filesystem::directory_iterator(QV_EXPECTED_DIR)) {
        const auto name = file.path().stem().string();
        if (name.rfind("help-", 0) == 0) {
            const auto command = name.substr(5);
            SCOPED_TRACE(command);
            EXPECT_NE(program.out.find("\n  " + command + " "), std::string::npos);
            EXPECT_EQ(qvadmin.run({command, "--help"}), (CommandResult{0, qvadmin.read(file.path()), ""}));
        }
    }
}

} // namespace
