#include "hexBytes.h"

#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>
#include <qvflash-core/pcsc/familyAtr.h>

#include <gtest/gtest.h>

using qvfl::historicalBytesOf;
using qvfl::isFamilyCard;

namespace {

bool accepted(const std::string& atr)
{
    return isFamilyCard(historicalBytesOf(hexBytes(atr)));
}

TEST(FamilyAtr, FamilyCardsAreAcceptedOnBothProtocols)
{
    EXPECT_TRUE(accepted("3B 8C 80 01 51 75 6F 72 76 69 6B 5A 52 4E 73 63 16"));
    EXPECT_TRUE(accepted("3B 84 80 01 51 76 53 43 32"));
    EXPECT_TRUE(accepted("3B 8B 80 01 51 75 6F 72 76 69 6B 20 56 4C 20 5D"));
    EXPECT_TRUE(accepted("3B 8B 80 01 51 75 6F 72 76 69 6B 20 5A 52 4E 21"));
    EXPECT_TRUE(accepted("3B 8B 80 01 51 75 6F 72 76 69 6B 56 4C 42 54 4B"));
    EXPECT_TRUE(accepted("3B 0C 51 75 6F 72 76 69 6B 5A 52 4E 73 63"));
    EXPECT_TRUE(accepted("3B 04 51 76 53 43"));
    // TA1, TB1 and TC1 before TD1 are skipped too.
    EXPECT_TRUE(accepted("3B F4 11 00 00 81 31 FE 45 51 76 53 43 00"));
}

TEST(FamilyAtr, OtherCardsAreNot)
{
    EXPECT_FALSE(accepted("3B 85 80 01 51 76 53 43 58 6B"));                         // QvSCX
    EXPECT_FALSE(accepted("3B 8B 80 01 51 75 6F 72 76 69 6B 5A 52 4E 73 72"));       // prefix
    EXPECT_FALSE(accepted("3B 8D 80 01 51 75 6F 72 76 69 6B 5A 52 4E 73 63 31 26")); // longer
    EXPECT_FALSE(accepted("3B 04 71 76 53 43"));
    EXPECT_FALSE(accepted(""));
}

TEST(FamilyAtr, TheWalkStaysInsideTheAtr)
{
    EXPECT_TRUE(historicalBytesOf(hexBytes("3B 8C 80 01 51 75")).empty());
    EXPECT_TRUE(historicalBytesOf(hexBytes("3B 80")).empty());
    EXPECT_TRUE(historicalBytesOf(hexBytes("3B F0 11")).empty());
    EXPECT_TRUE(historicalBytesOf(hexBytes("3B")).empty());
    EXPECT_EQ(historicalBytesOf(hexBytes("3B 00")), std::vector<std::uint8_t>{});
}

TEST(ReaderNames, OnlyNonEmptyNamesInOrder)
{
    const std::string multiString("\0\0Reader A 00\0\0Reader B 01\0\0", 28);
    EXPECT_EQ(qvfl::splitReaderNames({multiString.begin(), multiString.end()}),
              (std::vector<qvfl::PcscString>{"Reader A 00", "Reader B 01"}));
    EXPECT_TRUE(qvfl::splitReaderNames({'\0'}).empty());
}

} // namespace
