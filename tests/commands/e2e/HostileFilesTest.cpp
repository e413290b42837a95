#include "TokenCommandTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

mode_t modeOf(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

// Hands the path to the user nobody; false where that cannot be done here (not root, no such user).
bool givenToNobody(const fs::path& path)
{
    const auto* nobody = getpwnam("nobody");
    return geteuid() == 0 && nobody != nullptr && chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
}

// Another user exchanging two folders of one folder, over and over, until it goes out of scope.
// The folder is opened for them: they need no way to it through the test's own folders.
class FolderSwapper {
public:
    FolderSwapper(const fs::path& folder, const char* first, const char* second, const passwd& user)
    {
        const int at = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int ready[2];
        if (at < 0 || pipe(ready) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            if (setgroups(0, nullptr) != 0 || setresgid(user.pw_gid, user.pw_gid, user.pw_gid) != 0 ||
                setresuid(user.pw_uid, user.pw_uid, user.pw_uid) != 0)
                _exit(1);
            for (bool told = false;; told = true) {
                if (renameat2(at, first, at, second, RENAME_EXCHANGE) != 0 || (!told && write(ready[1], "s", 1) != 1))
                    _exit(2);
            }
        }
        close(at);
        close(ready[1]);
        pollfd firstSwap{ready[0], POLLIN, 0};
        char byte = 0;
        swapping_ = pid_ > 0 && poll(&firstSwap, 1, 10000) == 1 && read(ready[0], &byte, 1) == 1;
        close(ready[0]);
    }
    ~FolderSwapper()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    FolderSwapper(const FolderSwapper&) = delete;
    FolderSwapper& operator=(const FolderSwapper&) = delete;

    // True once the first exchange was made.
    bool swapping() const { return swapping_; }

private:
    pid_t pid_ = -1;
    bool swapping_ = false;
};

class HostileFilesTest : public TokenCommandTest {
protected:
    void SetUp() override
    {
        scene.add(kSerial, false);
        // A run that waits on a FIFO would hang: it is killed instead and fails its row.
        qvadmin.limitRunTime(std::chrono::seconds(20));
    }

    fs::path tokenLog() const
    {
        return qvadmin.folder() / "qvadmin-logs" / ("qvadmin_" + std::to_string(kSerial) + ".log");
    }
    // A file of the test's own, left as the program finds it.
    fs::path plant(const fs::path& path, mode_t mode) const
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "planted\n";
        chmod(path.c_str(), mode);
        return path;
    }
    // A folder of the test's own with this mode, whatever the umask.
    static fs::path plantFolder(const fs::path& path, mode_t mode)
    {
        fs::create_directories(path);
        chmod(path.c_str(), mode);
        return path;
    }
};

// Files put in the program's way: each is refused, or used, as an administrator expects, the
// run ends in time, and a refused run leaves the token and the file as they were.
TEST_F(HostileFilesTest, EachFileHasItsOutcomeAndNoRunHangs)
{
    const auto scratch = qvadmin.scratch();
    const auto fifo = scratch / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto target = plant(scratch / "target.log", 0600);
    fs::create_symlink(target, scratch / "link.log");
    fs::create_symlink(scratch / "loop.log", scratch / "loop.log");
    const auto config = qvadmin.folder() / "qvadmin_conf.ini";

    const auto label = [](const std::string& logFile) {
        std::vector<std::string> args{"set-label", "-p", kUserPin, "-l", "changed"};
        if (!logFile.empty()) {
            args.insert(args.end(), {"--log-file", logFile});
        }
        return args;
    };
    const auto couldNotOpen = [](const fs::path& path) {
        return "Logger error: Couldn't open or create file: " + path.string() + ".\n";
    };
    const auto unsafeFolder = [](const fs::path& path) {
        return "Folder writable by other users: " + path.string() + ".";
    };
    const auto foreignFolder = [](const fs::path& path) {
        return "Folder owned by another user: " + path.string() + ".";
    };
    const auto foreign = scratch / "foreign";
    const auto theirs = scratch / "theirs";
    const auto shared = scratch / "shared";
    const auto groups = scratch / "g775";
    const auto open = scratch / "open";
    const auto mine = scratch / "mine";
    const auto longName = scratch / std::string(256, 'n');
    std::string pathTooLong;
    while (pathTooLong.size() <= PATH_MAX)
        pathTooLong += "/.";
    const auto ownedByNobody = [&](const fs::path& folder, mode_t mode) {
        return givenToNobody(plantFolder(folder, mode));
    };
    const auto unreadable = [&] {
        return syntaxError("can not read options configuration file '" + config.string() + "'");
    };
    const auto none = [] { return true; };
    // Each row's set-up answers whether the row can be run here.
    const struct {
        const char* name;
        std::function<bool()> setUp;
        std::vector<std::string> args;
        std::string err;
        // A token's own log is refused at that token, which is named with the refusal.
        std::string out{};
    } rows[] = {
        {"log FIFO", none, label(fifo), couldNotOpen(fifo)},
        {"log link", none, label(scratch / "link.log"), couldNotOpen(scratch / "link.log")},
        {"log link loop", none, label(scratch / "loop.log"), couldNotOpen(scratch / "loop.log")},
        {"log missing parents", none, label(scratch / "a/b/c.log"),
         "Logger error: Folder not found: " + (scratch / "a").string() + ".\n"},
        {"token log of another user's", [&] { return givenToNobody(plant(tokenLog(), 0600)); }, label(""), "",
         tokenLine(kSerial, "error: File owned by another user: " + tokenLog().string() + ".") + kFailure},
        {"token log writable by all", [&] { return plant(tokenLog(), 0666), true; }, label(""), "",
         tokenLine(kSerial, "error: File writable by other users: " + tokenLog().string() + ".") + kFailure},
        {"token log writable by its group", [&] { return plant(tokenLog(), 0620), true; }, label(""), "",
         tokenLine(kSerial, "error: File writable by other users: " + tokenLog().string() + ".") + kFailure},
        // Another user may swap the operator's folder for one of theirs: the first folder from the
        // root down that lets them is named.
        {"log in the operator's folder in another user's",
         [&] { return plantFolder(foreign / "mine", 0700), ownedByNobody(foreign, 0777); },
         label(foreign / "mine/x.log"), "Logger error: " + foreignFolder(foreign) + "\n"},
        {"log folder of another user's that only they may write", [&] { return ownedByNobody(theirs, 0755); },
         label(theirs / "x.log"), "Logger error: " + foreignFolder(theirs) + "\n"},
        // A link is followed, and its target's folders are the ones checked and named.
        {"log folder linked to another user's",
         [&] {
             fs::create_symlink(theirs, scratch / "via");
             return ownedByNobody(theirs, 0755);
         },
         label(scratch / "via/x.log"), "Logger error: " + foreignFolder(theirs) + "\n"},
        {"log in the current folder writable by all", [&] { return chmod(scratch.c_str(), 0777) == 0; }, label("x.log"),
         "Logger error: " + unsafeFolder(scratch) + "\n"},
        {"token log beside a program in a folder its group may write",
         [&] { return chmod(qvadmin.folder().c_str(), 0770) == 0; },
         {"set-label", "-p", kUserPin, "-l", "changed", "--no-pin-file"},
         "",
         tokenLine(kSerial, "error: " + unsafeFolder(qvadmin.folder())) + kFailure},
        {"token log folder writable by all", [&] { return plantFolder(qvadmin.folder() / "qvadmin-logs", 0777), true; },
         label(""), "", tokenLine(kSerial, "error: " + unsafeFolder(qvadmin.folder() / "qvadmin-logs")) + kFailure},
        {"PIN file folder of a setgid group",
         [&] { return plantFolder(shared, 02770), true; },
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--pin-file",
          (shared / "pins.txt").string()},
         "Logger error: " + unsafeFolder(shared) + "\n"},
        {"PIN file in a folder yet to be made in a folder its group may write",
         [&] { return plantFolder(groups, 0775), true; },
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--no-log", "--pin-file",
          (groups / "new/p.txt").string()},
         "Logger error: " + unsafeFolder(groups) + "\n"},
        // Whoever may write the folder that holds a link can point it elsewhere before each write.
        {"PIN file through a link in a folder all may write",
         [&] {
             fs::create_directory_symlink(plantFolder(mine, 0700), plantFolder(open, 0777) / "pins");
             return true;
         },
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--no-log", "--pin-file",
          (open / "pins/p.txt").string()},
         "Logger error: " + unsafeFolder(open) + "\n"},
        {"PIN file name longer than the file system takes",
         none,
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--pin-file", longName.string()},
         "Logger error: File name too long: " + longName.string() + ".\n"},
        // Too long for the system to look up whole: the file is judged as the walk reaches it.
        {"PIN file writable by all at a path longer than the system takes",
         [&] { return plant(scratch / "open-pins.txt", 0666), true; },
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--pin-file",
          scratch.string() + pathTooLong + "/open-pins.txt"},
         "Logger error: File writable by other users: " + (scratch / "open-pins.txt").string() + ".\n"},
        {"PIN file named by a full stop",
         none,
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--pin-file",
          (scratch / ".").string()},
         couldNotOpen(scratch)},
        {"PIN file with a second name",
         [&] {
             fs::create_hard_link(plant(scratch / "pins.txt", 0600), scratch / "pins-too.txt");
             return true;
         },
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--pin-file",
          (scratch / "pins.txt").string()},
         "Logger error: File linked under more than one name: " + (scratch / "pins.txt").string() + ".\n"},
        {"PIN file FIFO",
         none,
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--pin-file", fifo.string()},
         couldNotOpen(fifo)},
        {"default PIN file link",
         [&] {
             fs::create_symlink(target, qvadmin.folder() / "pin-file.txt");
             return true;
         },
         {"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate"},
         couldNotOpen(qvadmin.folder() / "pin-file.txt")},
        {"configuration FIFO", [&] { return mkfifo(config.c_str(), 0600) == 0; }, {"version"}, unreadable()},
        {"configuration link loop",
         [&] {
             fs::create_symlink(config, config);
             return true;
         },
         {"--help"},
         unreadable()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.setUp()) {
            EXPECT_EQ(qvadmin.run(row.args), (CommandResult{255, row.out, row.err}));
        } else {
            std::cout << "[ SKIPPED  ] " << row.name << ": needs root and the user nobody\n";
        }
        const auto token = scene.load(kSerial);
        EXPECT_EQ(token.label, "Stand-in A");
        EXPECT_EQ(TokenScene::pinText(token.userPin), kUserPin);
        fs::remove_all(qvadmin.folder() / "qvadmin-logs");
        fs::remove(qvadmin.folder() / "pin-file.txt");
        fs::remove(config);
        fs::permissions(scratch, fs::perms::owner_all);
        fs::permissions(qvadmin.folder(), fs::perms::owner_all);
    }
    EXPECT_EQ(qvadmin.read(target), "planted\n");
    EXPECT_EQ(qvadmin.read(scratch / "pins.txt"), "planted\n");
    EXPECT_EQ(qvadmin.read(scratch / "open-pins.txt"), "planted\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_FALSE(fs::exists(foreign / "mine/x.log"));
    EXPECT_FALSE(fs::exists(theirs / "x.log"));
    EXPECT_FALSE(fs::exists(scratch / "x.log"));
    EXPECT_FALSE(fs::exists(shared / "pins.txt"));
    EXPECT_FALSE(fs::exists(groups / "new"));
    EXPECT_FALSE(fs::exists(mine / "p.txt"));
}

// The attack on a PIN file: another user swaps the operator's folder for one of theirs in a folder
// they may write, over and over, while the run goes on. It is refused before any token is
// touched, and no PIN lands in either folder.
TEST_F(HostileFilesTest, FolderSwappedByAnotherUserIsRefusedUpFront)
{
    const auto* nobody = getpwnam("nobody");
    if (geteuid() != 0 || nobody == nullptr)
        GTEST_SKIP() << "needs root and the user nobody";
    const auto arena = plantFolder(qvadmin.scratch() / "arena", 0777);
    const auto mine = plantFolder(arena / "mine", 0700);
    const auto planted = plantFolder(arena / "planted", 0777);
    ASSERT_EQ(chown(planted.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    {
        const FolderSwapper swapper(arena, "mine", "planted", *nobody);
        ASSERT_TRUE(swapper.swapping());
        EXPECT_EQ(qvadmin.run({"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate", "--no-log",
                               "--pin-file", (mine / "pins.txt").string()}),
                  (CommandResult{255, "", "Logger error: Folder writable by other users: " + arena.string() + ".\n"}));
    }
    EXPECT_EQ(TokenScene::pinText(scene.load(kSerial).userPin), kUserPin);
    EXPECT_FALSE(fs::exists(mine / "pins.txt"));
    EXPECT_FALSE(fs::exists(planted / "pins.txt"));
}

// A log that others may read is still written, with a warning, also in a folder all may write
// that keeps each file to its owner (sticky); what the program makes itself is its owner's alone,
// whatever the umask.
TEST_F(HostileFilesTest, ReadableLogIsUsedWithAWarningAndNewFilesArePrivate)
{
    const auto readable = plant(plantFolder(qvadmin.scratch() / "sticky", 01777) / "shared.log", 0644);
    EXPECT_EQ(
        qvadmin.run({"set-label", "-p", kUserPin, "-l", "first", "--log-file", readable.string()}),
        (CommandResult{0, kSuccess, "Warning: " + readable.string() + " can be read by other users (mode 0644).\n"}));
    EXPECT_NE(qvadmin.read(readable).find("label: \"first\"\nstatus: success\n"), std::string::npos);

    const auto oldMask = umask(0);
    const auto generated = qvadmin.run({"set-user-pin", "--auth-as", "user", "-p", kUserPin, "-N", "generate"});
    umask(oldMask);
    EXPECT_EQ(generated, (CommandResult{0, kSuccess, ""}));
    EXPECT_EQ(modeOf(qvadmin.folder() / "qvadmin-logs"), 0700u);
    EXPECT_EQ(modeOf(tokenLog()), 0600u);
    EXPECT_EQ(modeOf(qvadmin.folder() / "pin-file.txt"), 0600u);
}

// The PIN file's place changed while the card holds its answer to the new PIN: its folder opened
// to others, or a file of another user's made in its sticky folder. The row is not written there,
// the operator gets it, and the refusal is named as at the start.
TEST_F(TokenCommandTest, APlaceRefusedDuringTheRunIsNamedAtItsWrite)
{
    std::string localPin = "11112222";
    scene.add(kSerial, true);
    ASSERT_EQ(qvadmin.run({"create-local-pin", "-p", kUserPin, "-n", localPin, "--no-log", "--no-pin-file"}).status, 0);
    const auto open = qvadmin.scratch() / "open";
    const auto sticky = qvadmin.scratch() / "sticky";
    const struct {
        fs::path folder;
        fs::perms mode;
        std::function<bool()> change;
        std::string refusal;
        // What the file holds afterwards: not the PIN.
        std::string left;
    } rows[] = {
        {open, fs::perms::owner_all,
         [&] {
             fs::permissions(open, fs::perms::others_write, fs::perm_options::add);
             return true;
         },
         "Folder writable by other users: " + open.string() + ".", ""},
        {sticky, fs::perms(01777),
         [&] {
             std::ofstream(sticky / "p.txt") << "theirs\n";
             return givenToNobody(sticky / "p.txt");
         },
         "File owned by another user: " + (sticky / "p.txt").string() + ".", "theirs\n"},
    };
    const auto hold = qvadmin.scratch() / "hold";
    qvadmin.limitRunTime(std::chrono::seconds(20));
    const auto heldPin = [&] { return TokenScene::pinText(scene.load(kSerial).findLocalPin(4)->pin); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.refusal);
        fs::create_directory(row.folder);
        fs::permissions(row.folder, row.mode);
        ASSERT_TRUE(scene.holdAnswer(kSerial, "24", hold));
        const pid_t started = qvadmin.start({"set-local-pin", "-i", "4", "-p", localPin, "-N", "generate", "--no-log",
                                             "--pin-file", (row.folder / "p.txt").string()});
        EXPECT_TRUE(waitUntil([&] { return heldPin() != localPin; }));
        const bool changed = row.change();
        fs::remove(hold);
        const auto result = qvadmin.finish(started);
        localPin = heldPin();
        if (!changed) {
            std::cout << "[ SKIPPED  ] " << row.refusal << ": needs root and the user nobody\n";
            continue;
        }
        EXPECT_EQ(result, (CommandResult{255, kSuccess,
                                         "Token Number;PIN Type;Value\n" + std::to_string(kSerial) + ";local-4;" +
                                             localPin + "\nLogger error: " + row.refusal + "\n"}));
        EXPECT_EQ(qvadmin.read(row.folder / "p.txt"), row.left);
    }
}

} // namespace
