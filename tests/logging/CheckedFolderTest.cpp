#include "TempFolder.h"

#include "cli/LoggerError.h"
#include "logging/AppendFile.h"
#include "logging/CheckedFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

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

// A link of another user's is refused only in a folder where they could replace it, one that
// others may write; in the operator's own folder it is followed as any link.
TEST_F(CheckedFolderTest, AnotherUsersLinkIsRefusedWhereTheyCouldReplaceIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root";
    fs::create_directory(dir_ / "mine");
    const struct {
        const char* holder;
        fs::perms mode;
        std::string refusal;
    } rows[] = {
        {"sticky", fs::perms(01777), "Link owned by another user: " + pathOf("sticky/pins") + "."},
        {"operator-only", fs::perms::owner_all, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.holder);
        fs::create_directory(dir_ / row.holder);
        fs::permissions(dir_ / row.holder, row.mode);
        const auto link = dir_ / row.holder / "pins";
        fs::create_directory_symlink(dir_ / "mine", link);
        ASSERT_EQ(lchown(link.c_str(), 65534, 65534), 0);
        const auto path = (link / "p.txt").string();
        const logging::CheckedFolder folder(path, logging::CheckedFolder::Missing::Leave);
        try {
            folder.raiseRefusal();
            EXPECT_EQ(logging::AppendFile(folder, path).appendAndClose(row.holder), 0);
        } catch (const LoggerError& error) {
            EXPECT_EQ(error.what(), row.refusal);
        }
        EXPECT_EQ(readFile(pathOf("mine/p.txt")), row.refusal.empty() ? row.holder : "");
        fs::remove(dir_ / "mine/p.txt");
    }
}

} // namespace
