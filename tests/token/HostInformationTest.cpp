#include "token/hostInformation.h"
#include "token/getSystemInfo.h"

#include <platform/hostCalls.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

TEST(HostInformationTest, SystemInfoTakesTheBufferUpToItsFirstZero)
{
    const auto writing = [](std::string text, int result = 0) {
        return [text, result](char* buffer, std::size_t size) {
            EXPECT_EQ(size, 256u);
            EXPECT_EQ(buffer[255], '\0') << "the buffer is not zero-filled";
            std::memcpy(buffer, text.data(), std::min(text.size(), size));
            return result;
        };
    };
    EXPECT_EQ(getSystemInfo(writing("host"), std::nullopt), "host");
    EXPECT_EQ(getSystemInfo(writing("host", -1), std::nullopt), "");
    EXPECT_EQ(getSystemInfo(writing("(none)"), std::string("(none)")), "");
    EXPECT_EQ(getSystemInfo(writing("(none)"), std::nullopt), "(none)");
    EXPECT_EQ(getSystemInfo(writing("(none)x"), std::string("(none)")), "(none)x");
    EXPECT_EQ(getSystemInfo(writing(std::string(256, 'n')), std::nullopt), std::string(256, 'n'));
}

class OsVersionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-host-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        setenv("QV_HOST_ROOT", root_.c_str(), 1);
    }

    void TearDown() override
    {
        unsetenv("QV_HOST_ROOT");
        std::filesystem::remove_all(root_);
    }

    void write(const std::string& file, const std::string& content)
    {
        std::filesystem::create_directories((root_ / file).parent_path());
        std::ofstream(root_ / file) << content;
    }

    std::filesystem::path root_;
};

TEST_F(OsVersionTest, NameAndVersionFromOsRelease)
{
    write("etc/os-release", "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                            "VERSION_ID=\"12\"\nID=debian\n");
    EXPECT_EQ(getOsVersion(), "Debian GNU/Linux 12");
    std::size_t size = 0;
    ASSERT_EQ(platform::sysctlbyname("kern.osproductversion", nullptr, &size, nullptr, 0), 0);
    EXPECT_EQ(size, 3u);
    char small[2];
    EXPECT_NE(platform::sysctlbyname("kern.osproductversion", small, &(size = sizeof small), nullptr, 0), 0);
}

TEST_F(OsVersionTest, VendorFileStandsInForAMissingEtcFile)
{
    write("usr/lib/os-release", "VERSION_ID=3.19.1\nNAME='Alpine \"Linux\"'\n");
    EXPECT_EQ(getOsVersion(), "Alpine \"Linux\" 3.19.1");
    write("etc/os-release", "NAME=\"Plain \\\"Linux\\\"\"\nVERSION_ID=7\n");
    EXPECT_EQ(getOsVersion(), "Plain \"Linux\" 7");
}

TEST_F(OsVersionTest, NoVersionGivesNothing)
{
    EXPECT_EQ(getOsVersion(), "");
    write("etc/os-release", "NAME=\"Debian GNU/Linux\"\nVERSION_CODENAME=trixie\n");
    write("usr/lib/os-release", "NAME=Other\nVERSION_ID=1\n");
    EXPECT_EQ(getOsVersion(), "");
}

TEST(HostInformationTest, UserNameFromManyThreadsAtOnce)
{
    const auto expected = getSystemUserName();
    ASSERT_FALSE(expected.empty());
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 16; ++thread) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                wrong += getSystemUserName() != expected;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace
