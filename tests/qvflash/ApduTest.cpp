#include "hexBytes.h"

#include <qvflash-core/apdu/Apdu.h>
#include <qvflash-core/apdu/SelectApdu.h>
#include <qvflash-core/apdu/bigEndian.h>

#include <gtest/gtest.h>

using qvfl::Apdu;
using namespace qvfl::ApduCommand;

namespace {

TEST(ApduFraming, TheFourCasesEncodeTheirFieldsInOrder)
{
    const Apdu bare(0x80, 0x40, 0x00, 0x00, std::nullopt, std::nullopt);
    EXPECT_EQ(bare.toBuffer(), hexBytes("80 40 00 00"));
    EXPECT_EQ(bare.getApduCase(), 0U);
    EXPECT_EQ(bare.getReceiveBufferSize(), 2U);

    const Apdu leOnly(0x00, 0xCA, 0x01, 0x81, std::nullopt, 0x08);
    EXPECT_EQ(leOnly.toBuffer(), hexBytes("00 CA 01 81 08"));
    EXPECT_EQ(leOnly.getApduCase(), 1U);
    EXPECT_EQ(leOnly.getReceiveBufferSize(), 10U);

    const Apdu dataOnly(0x00, 0x20, 0x00, 0x01, hexBytes("31 32"), std::nullopt);
    EXPECT_EQ(dataOnly.toBuffer(), hexBytes("00 20 00 01 02 31 32"));
    EXPECT_EQ(dataOnly.getApduCase(), 2U);
    EXPECT_EQ(dataOnly.getReceiveBufferSize(), 2U);

    const Apdu emptyData(0x00, 0x20, 0x00, 0x02, std::vector<std::uint8_t>{}, std::nullopt);
    EXPECT_EQ(emptyData.toBuffer(), hexBytes("00 20 00 02 00"));
    EXPECT_EQ(emptyData.getApduCase(), 2U);

    const Apdu leZero(0x80, 0x71, 0x00, 0x00, std::nullopt, 0x00);
    EXPECT_EQ(leZero.toBuffer(), hexBytes("80 71 00 00 00"));
    EXPECT_EQ(leZero.getReceiveBufferSize(), 258U);
}

TEST(ApduFraming, SelectCommands)
{
    const SelectByFullPath byPath({0x1000, 0x1000, 0x6005});
    EXPECT_EQ(byPath.toBuffer(), hexBytes("00 A4 08 04 06 10 00 10 00 60 05 00"));
    EXPECT_EQ(byPath.getApduCase(), 3U);
    EXPECT_EQ(byPath.getReceiveBufferSize(), 258U);

    EXPECT_EQ(SelectFirstFileApdu().toBuffer(), hexBytes("00 A4 00 04 00"));
    EXPECT_EQ(SelectFirstFileApdu().getApduCase(), 1U);
    EXPECT_EQ(SelectNextFileApdu(0x1001).toBuffer(), hexBytes("00 A4 00 06 02 10 01 00"));
}

TEST(ApduFraming, BigEndianWords)
{
    EXPECT_TRUE(qvfl::toBufferBe(std::vector<std::uint16_t>{}).empty());
    EXPECT_EQ(qvfl::toBufferBe(std::vector<std::uint16_t>{0x0102, 0xFFEE}), hexBytes("01 02 FF EE"));
}

} // namespace
