#include "alignedDeleteProbe.h"

#include <qvflash-core/login/LoginImpl.h>
#include <qvflash-core/login/locked_allocator.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using Secret = qvfl::LoginImpl::Secret;

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer replaces mlock with a call that locks nothing.
constexpr bool kLockingVisible = false;
#else
constexpr bool kLockingVisible = true;
#endif

std::uintptr_t pageOf(const void* address)
{
    return reinterpret_cast<std::uintptr_t>(address) / static_cast<std::uintptr_t>(getpagesize());
}

// Locked kB of the mapping that holds address, from /proc/self/smaps.
long lockedKbAt(const void* address)
{
    const auto target = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        std::uintptr_t start = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-') {
            inside = start <= target && target < end;
        } else if (inside && line.rfind("Locked:", 0) == 0) {
            return std::stol(line.substr(7));
        }
    }
    return -1;
}

long processLockedKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmLck:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

TEST(LockedAllocator, EverySecretKeepsItsPagesLockedUntilItIsReleased)
{
    const long pageKb = getpagesize() / 1024;
    const long before = processLockedKb();
    auto first = std::make_unique<Secret>(Secret{1, 2, 3});
    const Secret second{4, 5, 6};
    EXPECT_NE(pageOf(first->data()), pageOf(second.data()));
    if (!kLockingVisible) {
        GTEST_SKIP() << "memory locking is not observable in this build";
    }
    EXPECT_EQ(processLockedKb(), before + 2 * pageKb);

    first.reset();
    EXPECT_EQ(processLockedKb(), before + pageKb);
    EXPECT_GE(lockedKbAt(second.data()), pageKb);
    EXPECT_EQ(second, (Secret{4, 5, 6}));
}

TEST(LockedAllocator, EveryBufferIsWipedBeforeItIsReleased)
{
    armAlignedDeleteProbe();
    {
        Secret secret;
        // Growing leaves earlier buffers behind; each must be wiped, too.
        for (int i = 0; i < 5000; ++i) {
            secret.push_back(static_cast<std::uint8_t>(0xA5));
        }
    }
    const std::vector<ReleasedBlock> released = disarmAlignedDeleteProbe();
    ASSERT_GE(released.size(), 2U);
    for (const ReleasedBlock& block : released) {
        EXPECT_TRUE(std::all_of(block.bytes.begin(), block.bytes.end(), [](unsigned char byte) { return byte == 0; }));
    }
}

} // namespace
