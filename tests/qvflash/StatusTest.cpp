#include "hexBytes.h"

#include <qvflash-core/apdu/RespHandler.h>
#include <qvflash-core/errors/ApduException.h>
#include <qvflash-core/errors/Descriptions.h>
#include <qvflash-core/errors/PcscException.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using qvfl::ApduException;
using qvfl::Condition;

namespace {

struct WordRow {
    std::uint16_t statusWord;
    qvflash_StatusCode status;
};

class StatusWordTable : public testing::TestWithParam<WordRow> {};

TEST_P(StatusWordTable, WordBecomesItsStatusAndKeepsTheWord)
{
    const ApduException exception(GetParam().statusWord);
    EXPECT_EQ(exception.code(), GetParam().status);
    ASSERT_EQ(exception.conditions().size(), 1U);
    EXPECT_EQ(exception.conditions()[0], Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{GetParam().statusWord}));
    EXPECT_STRNE(exception.what(), "");
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, StatusWordTable,
    testing::Values(WordRow{0x6A82, QVFLASH_ST_FILE_NOT_FOUND}, WordRow{0x6982, QVFLASH_ST_INVALID_RIGHTS},
                    WordRow{0x6A81, QVFLASH_ST_UNSUPPORTED_MODE_OF_COMMAND},
                    WordRow{0x6D00, QVFLASH_ST_COMMAND_NOT_SUPPORTED}, WordRow{0x6300, QVFLASH_ST_VERIFY_FAILED},
                    WordRow{0x6A86, QVFLASH_ST_INCORRECT_PARAMETERS}, WordRow{0x6983, QVFLASH_ST_OBJECT_BLOCKED},
                    WordRow{0x6700, QVFLASH_ST_WRONG_DATA_LENGTH}, WordRow{0x6381, QVFLASH_ST_NO_SPACE_FOR_RECORD},
                    WordRow{0x6F8C, QVFLASH_ST_WRONG_PIN_POLITICS}, WordRow{0x6F8D, QVFLASH_ST_PIN_REUSE_ERROR},
                    WordRow{0x6985, QVFLASH_ST_CONDITIONS_OF_USE_NOT_SATISFIED},
                    WordRow{0x6F86, QVFLASH_ST_DOUBLE_LOGIN}, WordRow{0x6A80, QVFLASH_ST_INVALID_DATA},
                    WordRow{0x6A84, QVFLASH_ST_NO_MEMORY}, WordRow{0x6400, QVFLASH_ST_COMMAND_FAILED},
                    WordRow{0x6F87, QVFLASH_ST_DEVICE_BROKEN}, WordRow{0x6A88, QVFLASH_ST_REFERENCE_DATA_NOT_FOUND},
                    WordRow{0x6989, QVFLASH_ST_COMMAND_NOT_ALLOWED}),
    [](const testing::TestParamInfo<WordRow>& row) {
        char name[8];
        std::snprintf(name, sizeof name, "SW%04X", row.param.statusWord);
        return std::string(name);
    });

TEST(StatusWords, UnlistedWordsAreInternalErrorsThatKeepTheWord)
{
    for (const std::uint16_t word : {0x9001, 0x6A83, 0x63C2, 0x9000}) {
        const ApduException exception(word);
        EXPECT_EQ(exception.code(), QVFLASH_ST_INTERNAL_ERROR);
        ASSERT_EQ(exception.conditions().size(), 1U);
        EXPECT_EQ(exception.conditions()[0], Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{word}));
    }
}

TEST(StatusWords, RespHandlerComparesTheWordAndBuildsItsException)
{
    const qvfl::RespHandler ok({0x9000, hexBytes("01 02")});
    EXPECT_TRUE(ok == 0x9000);
    EXPECT_TRUE(ok != 0x6A82);
    EXPECT_EQ(ok.result().second, hexBytes("01 02"));

    const qvfl::Exception refused = qvfl::RespHandler({0x6A88, {}}).exception();
    EXPECT_EQ(refused.code(), QVFLASH_ST_REFERENCE_DATA_NOT_FOUND);
    EXPECT_STREQ(refused.what(), "Reference data hasn't been found");
}

TEST(Descriptions, CodesWithoutTextGiveAnEmptyViewAndEmptyWhat)
{
    for (const qvflash_StatusCode code : {QVFLASH_ST_APDU_ERROR, QVFLASH_ST_OBJECT_EXISTS, QVFLASH_ST_LOGIC_ERROR,
                                          static_cast<qvflash_StatusCode>(100020)}) {
        EXPECT_EQ(qvfl::getStatusDescription(code).data(), nullptr);
        EXPECT_STREQ(qvfl::Exception(code).what(), "");
    }
}

TEST(Descriptions, TextsAreTheSystemsOwn)
{
    EXPECT_EQ(qvfl::getStatusDescription(QVFLASH_ST_OK), "Command executed successfully");
    EXPECT_EQ(qvfl::getStatusDescription(QVFLASH_ST_PIN_REUSE_ERROR),
              "PIN-code is in history (recently used). PIN-code hasn't been changed");
    EXPECT_EQ(qvfl::getStatusDescription(QVFLASH_ST_JOURNAL_READ_ONLY_FORBIDDEN),
              "The journal section can't be created with forbidden temporarily swiching to "
              "read-only mode");
    EXPECT_EQ(qvfl::getConditionDescription(QVFLASH_COND_MAX_SECTION_COUNT),
              "Maximum count of sections that can be created in the current partition state");
    EXPECT_EQ(qvfl::getConditionDescription(QVFLASH_COND_EXPECTED_SECRET_TYPE), "Expected secret type");
}

TEST(PcscException, KeepsThe32BitCodeSignedAndInHex)
{
    const PcscException exception(SCARD_W_RESET_CARD, "scard.cpp", "void f()", 42);
    EXPECT_EQ(exception.code(), QVFLASH_ST_PCSC_ERROR);
    ASSERT_EQ(exception.conditions().size(), 3U);
    EXPECT_EQ(exception.conditions()[0], Condition(QVFLASH_COND_LOCATION, std::string("scard.cpp(42): void f()")));
    EXPECT_EQ(exception.conditions()[1], Condition(QVFLASH_COND_PCSC_ERROR_CODE, std::int64_t{-2146434968}));
    EXPECT_EQ(exception.conditions()[2], Condition(QVFLASH_COND_PCSC_ERROR_CODE_HEX, std::string("0x80100068")));
}

} // namespace
