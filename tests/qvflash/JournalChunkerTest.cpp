#include "hexBytes.h"

#include <qvflash-core/errors/Exception.h>
#include <qvflash-core/journal/JournalChunker.h>

#include <gtest/gtest.h>

using qvfl::JournalChunker;
using qvfl::PcInfo;
using Chunks = std::vector<std::vector<std::uint8_t>>;

namespace {

PcInfo record(std::size_t user, std::size_t domain, std::size_t os, std::size_t device, std::int64_t time = 0)
{
    return PcInfo{std::string(user, 'u'), std::string(domain, 'd'), std::string(os, 'o'), std::string(device, 'n'),
                  time};
}

std::vector<std::uint8_t> expectedStream(const PcInfo& info)
{
    std::vector<std::uint8_t> stream;
    std::uint8_t tag = 0xC1;
    for (std::string text : {info.userName, info.domainName, info.osVersion, info.deviceName}) {
        if (text.empty()) {
            text = "NONE";
        }
        stream.push_back(tag++);
        stream.push_back(static_cast<std::uint8_t>(text.size()));
        stream.insert(stream.end(), text.begin(), text.end());
    }
    stream.push_back(0xC5);
    stream.push_back(8);
    for (int shift = 56; shift >= 0; shift -= 8) {
        stream.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(info.time) >> shift));
    }
    return stream;
}

// Takes the chunks apart again, checking each header on the way.
std::vector<std::uint8_t> reassemble(const Chunks& chunks)
{
    std::vector<std::uint8_t> stream;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const std::vector<std::uint8_t>& chunk = chunks[i];
        EXPECT_LE(chunk.size(), 255U);
        const std::size_t header = i == 0 ? 4 : 0;
        EXPECT_EQ(chunk.at(header), 0xA5);
        EXPECT_EQ(chunk.at(header + 1), chunk.size() - header - 2);
        stream.insert(stream.end(), chunk.begin() + static_cast<std::ptrdiff_t>(header + 2), chunk.end());
    }
    return stream;
}

} // namespace

TEST(JournalChunker, EmptyStringsBecomeNoneInOneChunk)
{
    const Chunks chunks = JournalChunker(record(0, 0, 0, 0)).chunks();
    ASSERT_EQ(chunks.size(), 1U);
    EXPECT_EQ(chunks[0], hexBytes("80 02 00 22 A5 22 C1 04 4E 4F 4E 45 C2 04 4E 4F 4E 45"
                                  " C3 04 4E 4F 4E 45 C4 04 4E 4F 4E 45"
                                  " C5 08 00 00 00 00 00 00 00 00"));
}

TEST(JournalChunker, AFullFirstChunkIsFollowedByAnEmptyLastOne)
{
    // 228 + 3 * 3 + 10 = 247 stream bytes.
    const Chunks chunks = JournalChunker(record(226, 1, 1, 1)).chunks();
    ASSERT_EQ(chunks.size(), 2U);
    EXPECT_EQ(chunks[0].size(), 253U);
    EXPECT_EQ(std::vector<std::uint8_t>(chunks[0].begin(), chunks[0].begin() + 6), hexBytes("80 02 00 F7 A5 F7"));
    EXPECT_EQ(chunks[1], hexBytes("A5 00"));
}

TEST(JournalChunker, ObjectsAreCutAcrossChunks)
{
    const PcInfo info = record(243, 255, 3, 4, -2);
    const Chunks chunks = JournalChunker(record(243, 255, 3, 4, -2)).chunks();
    ASSERT_EQ(chunks.size(), 3U);
    // C1 with its 243 bytes, then C2 FF and two bytes of the domain name.
    EXPECT_EQ(chunks[0].size(), 4U + 2 + 249);
    EXPECT_EQ(chunks[0][4 + 2 + 245], 0xC2);
    EXPECT_EQ(chunks[0][4 + 2 + 246], 0xFF);
    EXPECT_EQ(chunks[1].size(), 2U + 251);
    EXPECT_EQ(reassemble(chunks), expectedStream(info));
    const std::size_t total = expectedStream(info).size();
    EXPECT_EQ((chunks[0][2] << 8) | chunks[0][3], total);
}

TEST(JournalChunker, EveryLengthReassemblesToTheStream)
{
    for (const std::size_t user : {1, 100, 200, 240, 243, 244, 245, 246, 247, 255}) {
        for (const std::size_t domain : {0, 1, 120, 250, 255}) {
            const PcInfo info = record(user, domain, 255, 255, 1700000000);
            const Chunks chunks = JournalChunker(record(user, domain, 255, 255, 1700000000)).chunks();
            const std::vector<std::uint8_t> stream = expectedStream(info);
            EXPECT_EQ(reassemble(chunks), stream) << user << " " << domain;
            EXPECT_EQ((chunks[0][2] << 8) | chunks[0][3], stream.size());
        }
    }
}

TEST(JournalChunker, StringsOfMoreThan255BytesAreRefused)
{
    EXPECT_NO_THROW(JournalChunker(record(1, 1, 1, 255)));
    try {
        JournalChunker chunker(record(1, 1, 1, 256));
        FAIL() << "accepted";
    } catch (const qvfl::Exception& e) {
        EXPECT_EQ(e.code(), QVFLASH_ST_INVALID_STRING_SIZE);
        EXPECT_TRUE(e.conditions().empty());
    }
}
