// Each command's help, compared whole with the text kept beside this test.
#include "CommandRun.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandHelp, ShowsTheCommandsOwnOptionsExactly)
{
    const CommandRun qvadmin;
    for (const auto* command : {"format", "format-drive", "set-volume-access-mode", "create-mva", "clear-mva",
                                "add-pc-to-mva", "set-local-pin", "create-local-pin"}) {
        SCOPED_TRACE(command);
        const auto result = qvadmin.run({command, "--help"});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, qvadmin.read(std::string(QV_EXPECTED_DIR) + "/help-" + command + ".txt"));
    }
}

} // namespace
