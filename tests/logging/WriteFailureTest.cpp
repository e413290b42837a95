#include "TempFolder.h"

#include "logging/FileLogger.h"
#include "logging/PinFileLogger.h"

#include <sys/mount.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

void logGeneratedPin(logging::BaseLogger& logger, std::uint64_t serial)
{
    logger.add(logging::OperationRecord{"t", "m", serial});
    logger.add(serial, logging::PinRecord{"new-pin", "user", "pin" + std::to_string(serial)});
    logger.flush(serial);
}

// The logs' folder is a tmpfs of a few pages in a private mount namespace, which needs root.
class FullDiskTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        if (unshare(CLONE_NEWNS) != 0)
            GTEST_SKIP() << "no private mount namespace: " << std::strerror(errno);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=64k,mode=0700") != 0)
            GTEST_SKIP() << "no small file system can be mounted_: " << std::strerror(errno);
        mounted_ = true;
    }

    void TearDown() override
    {
        if (mounted_)
            umount(dir_.c_str());
        TempFolderTest::TearDown();
    }

    // Takes every free page; another file's next write then needs a page that is not there.
    void fill()
    {
        const int fd = ::open(pathOf("filler").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        const std::string chunk(4096, 'x');
        while (::write(fd, chunk.data(), chunk.size()) > 0) {
        }
        ::close(fd);
    }

    bool mounted_ = false;
};

TEST_F(FullDiskTest, FullDiskIsReportedAndThePinsReachTheOperator)
{
    logging::FileLogger log(pathOf("run.log"));
    log.add(logging::CommandRecord{"set-user-pin", {}, {}});
    fill();
    logging::PinFileLogger pins(pathOf("pins.txt"));

    testing::internal::CaptureStderr();
    logGeneratedPin(log, 5);
    logGeneratedPin(pins, 5);
    // Both the log block and the PIN file rows hold the PIN: each goes to the operator whole.
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "timestamp: t\nserial: 5\nmodel: m\nset-user-pin\n    new-pin: pin5\nstatus: success\n\n"
              "Token Number;PIN Type;Value\n5;user;pin5\n");
    EXPECT_EQ(log.getError(), 1);

    // Room again: the next token is written, and the run still ends as a failed one.
    std::filesystem::remove(dir_ / "filler");
    logGeneratedPin(log, 6);
    logGeneratedPin(pins, 6);
    EXPECT_EQ(readFile(pathOf("pins.txt")), "6;user;pin6\n");
    EXPECT_NE(readFile(pathOf("run.log")).find("serial: 6\n"), std::string::npos);
    EXPECT_EQ(log.getError(), 1);
    EXPECT_EQ(pins.getError(), 1);
}

using FileSizeLimitTest = TempFolderTest;

// A file size limit makes writes fail with EFBIG, which is not a full disk.
TEST_F(FileSizeLimitTest, OtherWriteFailuresGiveTwo)
{
    logging::FileLogger log(pathOf("run.log"));
    logging::PinFileLogger pins(pathOf("pins.txt"));
    log.add(logging::CommandRecord{"set-user-pin", {}, {}});
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limit = saved;
    limit.rlim_cur = 28;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    // The capture's own file is under the limit too, so only the codes are checked here.
    testing::internal::CaptureStderr();
    logGeneratedPin(log, 5);
    logGeneratedPin(pins, 5);
    testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(log.getError(), 2);
    EXPECT_EQ(pins.getError(), 2);
}

} // namespace
