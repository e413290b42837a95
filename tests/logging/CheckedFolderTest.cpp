#include "TempFolder.h"

#include "logging/AppendFile.h"
#include "logging/CheckedFolder.h"

#include <cstdio>
#include <fcntl.h>

namespace {

namespace fs = std::filesystem;

using CheckedFolderTest = TempFolderTest;

// The file's folder swapped for another after the walk checked it, whether it was there or the
// walk made it: the file lands in the folder that was checked, wherever that now is, never in
// the one put in its place.
TEST_F(CheckedFolderTest, TheFileLandsInTheFolderThatWasChecked)
{
    for (const auto missing : {logging::CheckedFolder::Missing::Leave, logging::CheckedFolder::Missing::Make}) {
        fs::remove_all(dir_ / "pins");
        fs::remove_all(dir_ / "planted");
        fs::create_directory(dir_ / "planted");
        if (missing == logging::CheckedFolder::Missing::Leave)
            fs::create_directory(dir_ / "pins");
        const logging::CheckedFolder folder(pathOf("pins/p.txt"), missing);
        ASSERT_EQ(renameat2(AT_FDCWD, pathOf("pins").c_str(), AT_FDCWD, pathOf("planted").c_str(), RENAME_EXCHANGE), 0);
        EXPECT_EQ(logging::AppendFile(folder, pathOf("pins/p.txt")).appendAndClose("5;user;Gen3rated\n"), 0);
        EXPECT_EQ(readFile(pathOf("planted/p.txt")), "5;user;Gen3rated\n");
        EXPECT_FALSE(fs::exists(dir_ / "pins/p.txt"));
    }
}

} // namespace
