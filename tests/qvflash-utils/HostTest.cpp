// The host queries: the profiler output parser and its string utilities, the
// pipeline through a fake profiler and its end, and the Linux layer on the
// fixture hosts.
#include "runningProcesses.h"

#include <qvflash-utils-core/commandOutput.h>
#include <qvflash-utils-core/hostQueries.h>
#include <qvflash-utils-core/stringUtils.h>

#include <platform/hostCalls.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(ProfilerOutputTest, InternalSerialsFollowTheirDetachableLine)
{
    const struct {
        const char* output;
        Strings serials;
    } cases[] = {
        {"      Serial Number: S4EWNX0N123456\n      Detachable Drive: No\n", {"S4EWNX0N123456"}},
        {"Serial Number: A\nDetachable Drive: Yes\nSerial Number: B\nDetachable Drive: No\n", {"B"}},
        {"Detachable Drive: No\n", {}},
        {"Serial Number: A\n", {}},
        {"Serial Number: A\nSerial Number: B\nDetachable Drive: No\n", {"B"}},
        // Only the exact word counts as internal.
        {"Serial Number: A\nDetachable Drive: no\nSerial Number: B\nDetachable Drive: NO\n"
         "Serial Number: C\nDetachable Drive: No.\n",
         {}},
        // A bare label leaves its last word: snapshots registered on tokens
        // were made that way.
        {"Serial Number:\nDetachable Drive: No\n", {"Number:"}},
        {"\n\t Serial Number: X1 \r\n\r\nDetachable Drive: No\r", {"X1"}},
        {"Serial Number: A\nDetachable Drive: No\nSerial Number: A\nDetachable Drive: No", {"A", "A"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.output);
        EXPECT_EQ(qvfl_utils::detail::internalSerials(row.output), row.serials);
    }
}

TEST(ProfilerOutputTest, TrimAndLastWord)
{
    using qvfl_utils::string::lastWord;
    using qvfl_utils::string::trim;
    EXPECT_EQ(trim("  \t x y \r"), "x y");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim("\fx\f"), "x\f");
    EXPECT_EQ(lastWord("a b"), "b");
    EXPECT_EQ(lastWord("ab"), "ab");
    EXPECT_EQ(lastWord("a b "), "");
    EXPECT_EQ(lastWord("a\tb"), "a\tb");
}

// A profiler script in a fresh directory that prints, per data type, what the
// test gives it.
class FakeProfiler : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvfl-utils-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& script)
    {
        const std::string path = dir_ + "/profiler";
        std::ofstream(path) << "#!/bin/sh\n" << script;
        EXPECT_EQ(chmod(path.c_str(), 0755), 0);
        return "'" + path + "'";
    }

    std::string dir_;
};

TEST_F(FakeProfiler, EveryDataTypeIsReadWholeWhateverTheExitStatus)
{
    const std::string longSerial(600, 'L');
    const std::string profiler =
        write("case \"$1\" in\n"
              "SPNVMeDataType) printf '  Serial Number: " +
              longSerial +
              "\\n  Detachable Drive: No\\n';;\n"
              "SPSASDataType) printf 'Serial Number: CR1\\r\\nDetachable Drive: No\\r\\n'; exit 3;;\n"
              "SPParallelSCSIDataType) echo 'Serial Number: not filtered'; exit 1;;\n"
              "SPSerialATADataType) printf 'Serial Number: LAST\\nDetachable Drive: No';;\n"
              "esac\n");
    EXPECT_EQ(qvfl_utils::detail::internalHardDiskSerials(profiler), (Strings{longSerial, "CR1", "LAST"}));
}

TEST_F(FakeProfiler, AProfilerThatCannotRunGivesNothing)
{
    EXPECT_EQ(qvfl_utils::detail::internalHardDiskSerials("'" + dir_ + "/missing'"), Strings{});
}

// The mask and ignored signals of a process, from /proc: lines "SigBlk:\t<hex>".
std::uint64_t signalsOf(pid_t pid, const std::string& line)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string text;
    while (std::getline(status, text)) {
        if (text.rfind(line + ":", 0) == 0) {
            return std::stoull(text.substr(line.size() + 1), nullptr, 16);
        }
    }
    return ~std::uint64_t{0};
}

// Started by a working thread of a run, which blocks the run's signals, in a process that
// ignores one (nohup), a profiler that hangs still takes every signal but those of a terminal's
// background, in a group of its own; once the caller's process is killed, nothing of its
// pipeline, a background process of the profiler included, is left.
TEST_F(FakeProfiler, AHungProfilerRunsApartAndEndsWithItsCaller)
{
    const std::string started = dir_ + "/started";
    ASSERT_EQ(mkfifo(started.c_str(), 0600), 0);
    const int reader = open(started.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::string profiler = write("sleep 30 &\necho $$ > '" + started + "'\nexec sleep 30\n");
    sigset_t runSignals;
    sigemptyset(&runSignals);
    std::uint64_t runBits = 0;
    for (const int signalNumber : {SIGINT, SIGHUP, SIGTERM, SIGQUIT}) {
        sigaddset(&runSignals, signalNumber);
        runBits |= std::uint64_t{1} << (signalNumber - 1);
    }
    const pid_t caller = fork();
    ASSERT_GE(caller, 0);
    if (caller == 0) {
        signal(SIGHUP, SIG_IGN);
        std::thread([&] {
            pthread_sigmask(SIG_BLOCK, &runSignals, nullptr);
            qvfl_utils::detail::internalHardDiskSerials(profiler);
        }).join();
        _exit(0);
    }

    pollfd ready{reader, POLLIN, 0};
    char text[32] = {};
    const pid_t pid = poll(&ready, 1, 10000) == 1 && read(reader, text, sizeof text - 1) > 0 ? std::atoi(text) : 0;
    EXPECT_NE(pid, 0) << "the profiler did not start";
    // Read once it runs the program it hangs in: some shells change their own signals meanwhile.
    std::string program;
    for (int i = 0; i < 500 && program != "sleep"; ++i) {
        std::ifstream("/proc/" + std::to_string(pid) + "/comm") >> program;
        poll(nullptr, 0, 10);
    }
    EXPECT_EQ(program, "sleep");
    EXPECT_EQ(signalsOf(pid, "SigBlk"), 0u);
    EXPECT_EQ(signalsOf(pid, "SigIgn") & runBits, 0u);
    const pid_t group = getpgid(pid);
    EXPECT_NE(group, getpgid(caller));

    kill(caller, SIGKILL);
    EXPECT_EQ(waitpid(caller, nullptr, 0), caller);
    close(reader);
    EXPECT_TRUE(groupEnds(group));
}

// A command that waits for its own background processes ends: nothing of the library's is one.
TEST(CommandOutputTest, AWaitInTheCommandReturns)
{
    EXPECT_EQ(qvfl_utils::detail::commandOutput("sleep 0 & wait; echo ended"), "ended\n");
}

// A profiler's warning reaches the terminal of a caller in the foreground, under `stty tostop`,
// and the snapshot goes on: the background group itself never writes there.
TEST_F(FakeProfiler, AProfilerWarningOnATerminalWithTostopIsNotStopped)
{
    const std::string profiler = write("echo 'profiler: a warning' >&2\n");
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const std::string terminalPath = ptsname(master);
    const pid_t caller = fork();
    ASSERT_GE(caller, 0);
    if (caller == 0) {
        // A session of its own whose controlling terminal is the pseudo-terminal.
        const int terminal = setsid() < 0 ? -1 : open(terminalPath.c_str(), O_RDWR);
        termios settings{};
        if (terminal < 0 || tcgetattr(terminal, &settings) != 0) {
            _exit(2);
        }
        settings.c_lflag |= TOSTOP;
        if (tcsetattr(terminal, TCSANOW, &settings) != 0 || dup2(terminal, STDERR_FILENO) < 0) {
            _exit(2);
        }
        qvfl_utils::detail::internalHardDiskSerials(profiler);
        _exit(0);
    }
    int status = -1;
    for (int i = 0; i < 1000 && waitpid(caller, &status, WNOHANG) == 0; ++i) {
        poll(nullptr, 0, 10);
    }
    if (waitpid(caller, &status, WNOHANG) == 0) {
        kill(caller, SIGKILL);
        waitpid(caller, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the snapshot did not end: " << status;
    // One warning per data type.
    std::string shown;
    char text[256];
    for (pollfd ready{master, POLLIN, 0}; poll(&ready, 1, 0) == 1;) {
        const ssize_t got = read(master, text, sizeof text);
        if (got <= 0) {
            break;
        }
        shown.append(text, static_cast<std::size_t>(got));
    }
    close(master);
    std::size_t warnings = 0;
    for (auto at = shown.find("a warning"); at != std::string::npos; at = shown.find("a warning", at + 1)) {
        ++warnings;
    }
    EXPECT_EQ(warnings, 5u) << shown;
}

std::string fixtureHost(const char* name)
{
    return std::string(QV_TEST_HOSTS) + "/" + name;
}

TEST(LinuxLayerTest, SysctlAnswersFromTheFixtureHost)
{
    setenv("QV_HOST_ROOT", fixtureHost("two-packages").c_str(), 1);
    std::size_t length = 0;
    ASSERT_EQ(platform::sysctlbyname("machdep.cpu.brand_string", nullptr, &length, nullptr, 0), 0);
    const std::string brand = "Intel(R) Xeon(R) Gold 6248 CPU @ 2.50GHz";
    EXPECT_EQ(length, brand.size() + 1);

    std::vector<char> value(length);
    length = value.size() - 1;
    EXPECT_EQ(platform::sysctlbyname("machdep.cpu.brand_string", value.data(), &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    length = value.size();
    ASSERT_EQ(platform::sysctlbyname("machdep.cpu.brand_string", value.data(), &length, nullptr, 0), 0);
    EXPECT_EQ(std::string(value.data()), brand);
    EXPECT_EQ(qvfl_utils::detail::cpuModels(&platform::sysctlbyname), (Strings{brand, brand}));

    EXPECT_EQ(platform::sysctlbyname("kern.nothing", nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(LinuxLayerTest, PackagesComeFromCpuinfoWithoutATopology)
{
    for (const char* host : {"workstation", "no-model-name"}) {
        SCOPED_TRACE(host);
        setenv("QV_HOST_ROOT", fixtureHost(host).c_str(), 1);
        std::int32_t packages = 0;
        std::size_t length = sizeof packages;
        EXPECT_EQ(platform::sysctlbyname("hw.packages", &packages, &length, nullptr, 0), 0);
        EXPECT_EQ(packages, 1);
    }
    std::size_t length = 256;
    char brand[256];
    EXPECT_EQ(platform::sysctlbyname("machdep.cpu.brand_string", brand, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
}

// A host that reports no package has no processor for the snapshot.
int noPackages(const char* name, void* value, std::size_t*, void*, std::size_t)
{
    if (std::string(name) == "hw.packages") {
        *static_cast<std::int32_t*>(value) = 0;
    } else {
        *static_cast<char*>(value) = '\0';
    }
    return 0;
}

TEST(LinuxLayerTest, ZeroPackagesGiveNoProcessor)
{
    EXPECT_EQ(qvfl_utils::detail::cpuModels(&noPackages), Strings{});
}

} // namespace
