#include "token/tokenTextForms.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

template <typename T>
std::string text(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string memoryLine(std::uint64_t freeBytes, std::uint64_t totalBytes)
{
    TokenInfo info;
    info.freeMemory = freeBytes;
    info.totalMemory = totalBytes;
    const auto all = text(info);
    const auto start = all.find("Memory(KB)");
    return all.substr(start, all.find('\n', start) - start);
}

// Kilobytes are rounded to the nearest, halves away from zero, not cut off.
TEST(TokenTextFormsTest, MemoryIsRoundedToTheNearestKilobyte)
{
    const struct {
        std::uint64_t freeBytes, totalBytes;
        const char* shown;
    } cases[] = {
        {1535, 1536, "1 / 2"},
        {0, 1023, "0 / 1"},
        {511, 512, "0 / 1"},
        {43008, 65536, "42 / 64"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(memoryLine(c.freeBytes, c.totalBytes), std::string("Memory(KB) (free/all)              : ") + c.shown)
            << c.freeBytes << " " << c.totalBytes;
    }
}

// Volumes read from a flash token may have owners and section kinds the tool has no word for;
// the block still shows them, and one volume's lines never run into the next's.
TEST(TokenTextFormsTest, DriveShowsUnnamedOwnersAndSectionKinds)
{
    TokenDriveInfo drive{
        100,
        {{1, 60, AccessMode::CdRom, {VolumeOwner(UserType::User), VolumeOwner(MvaId(5))}, SectionType::Journal},
         {2, 40, AccessMode::ReadWrite, {VolumeOwner(UnknownOwner{7})}, std::nullopt}}};
    EXPECT_EQ(text(drive), "Total space(MB)                    : 100\n"
                           "\n"
                           "ID                                 : 1\n"
                           "Size(MB)                           : 60\n"
                           "Access                             : cd\n"
                           "Owner                              : user,mva-5\n"
                           "Volume Type                        : journal\n"
                           "\n"
                           "ID                                 : 2\n"
                           "Size(MB)                           : 40\n"
                           "Access                             : rw\n"
                           "Owner                              : unknown-7\n"
                           "Volume Type                        : unknown\n");
}

} // namespace
