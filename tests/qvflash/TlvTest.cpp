#include "hexBytes.h"

#include <qvflash-core/apdu/TLV.h>

#include <gtest/gtest.h>

using qvfl::parseTLVStructs;
using qvfl::TLV;
using qvfl::TlvType;

namespace {

std::vector<TLV> parse(const std::vector<std::uint8_t>& bytes, TlvType type)
{
    return parseTLVStructs(bytes.begin(), bytes.end(), type);
}

// The parsing condition text of a failure, or "" when parsing succeeds.
std::string failureOf(const std::vector<std::uint8_t>& bytes, TlvType type)
{
    try {
        parse(bytes, type);
    } catch (const qvfl::Exception& e) {
        EXPECT_EQ(e.code(), QVFLASH_ST_INTERNAL_ERROR);
        EXPECT_EQ(e.conditions().size(), 1U);
        EXPECT_EQ(e.conditions()[0].code(), QVFLASH_COND_TLV_PARSING_ERROR);
        return std::get<std::string>(e.conditions()[0].detail());
    }
    return "";
}

std::vector<std::uint8_t> withValue(const std::string& header, std::size_t size)
{
    std::vector<std::uint8_t> bytes = hexBytes(header);
    bytes.resize(bytes.size() + size, 0x5A);
    return bytes;
}

TEST(TlvLists, ValuesAreViewsInBufferOrder)
{
    const auto bytes = hexBytes("82 04 14 00 00 64 00 00 83 02 00 03");
    const std::vector<TLV> tlvs = parse(bytes, TlvType::Ber);
    ASSERT_EQ(tlvs.size(), 3U);
    EXPECT_EQ(tlvs[0].tag, 0x82);
    EXPECT_EQ(tlvs[0].value(), hexBytes("14 00 00 64"));
    EXPECT_EQ(tlvs[1].tag, 0x00);
    EXPECT_EQ(tlvs[1].size(), 0U);
    EXPECT_EQ(tlvs[2].value(), hexBytes("00 03"));
    EXPECT_TRUE(parse({}, TlvType::Simple).empty());
}

TEST(TlvLists, BerLengthForms)
{
    const auto longForm = withValue("04 81 80", 128);
    ASSERT_EQ(parse(longForm, TlvType::Ber).size(), 1U);
    EXPECT_EQ(parse(longForm, TlvType::Ber)[0].size(), 128U);
    EXPECT_EQ(parse(withValue("04 82 00 FF", 255), TlvType::Ber)[0].size(), 255U);
    EXPECT_EQ(parse(withValue("04 84 00 00 01 00", 256), TlvType::Ber)[0].size(), 256U);

    EXPECT_EQ(failureOf(withValue("04 81 7F", 127), TlvType::Ber), "invalid length encoding in TLV");
    EXPECT_EQ(failureOf(hexBytes("04 80 00 00"), TlvType::Ber), "invalid length encoding in TLV");
    EXPECT_EQ(failureOf(hexBytes("04 85 00 00 00 00 01 00"), TlvType::Ber), "invalid length encoding in TLV");
    EXPECT_EQ(failureOf(hexBytes("04 82 01"), TlvType::Ber), "invalid length encoding in TLV");
}

TEST(TlvLists, SimpleLengthForms)
{
    EXPECT_EQ(parse(withValue("01 FF 01 00", 256), TlvType::Simple)[0].size(), 256U);
    EXPECT_EQ(parse(withValue("01 FE", 254), TlvType::Simple)[0].size(), 254U);
    // Under BER, 81 is a long form; under SIMPLE-TLV it is a length.
    EXPECT_EQ(parse(withValue("01 81", 0x81), TlvType::Simple)[0].size(), 0x81U);
    EXPECT_EQ(failureOf(hexBytes("01 FF 01"), TlvType::Simple), "invalid length encoding in TLV");
}

TEST(TlvLists, TruncatedInput)
{
    EXPECT_EQ(failureOf(hexBytes("83 02 00 03 8F"), TlvType::Ber), "missing Tag or/and Length field");
    EXPECT_EQ(failureOf(hexBytes("83 03 00 03"), TlvType::Ber), "buffer contains incomplete structure value");
    EXPECT_EQ(failureOf(hexBytes("04 84 FF FF FF FF 00"), TlvType::Ber), "buffer contains incomplete structure value");
    EXPECT_EQ(failureOf(hexBytes("01 FF FF FF 00"), TlvType::Simple), "buffer contains incomplete structure value");
}

} // namespace
