#include "flash/StatusCondition.h"

#include <gtest/gtest.h>

namespace {

using quorvik::qvflash::readCondition;
using Detail = std::variant<std::monostate, long long, std::string>;

qvflash_Condition numberRecord(qvflash_ConditionCode code, int64_t value)
{
    qvflash_Condition record{};
    record.code = code;
    record.detail.kind = 0;
    record.detail.data.value = value;
    return record;
}

qvflash_Condition textRecord(qvflash_ConditionCode code, char* text)
{
    qvflash_Condition record{};
    record.code = code;
    record.detail.kind = 1;
    record.detail.data.text = text;
    return record;
}

TEST(StatusCondition, EachDetailKindIsReadFromItsRecord)
{
    char text[] = "Expected: admin";
    qvflash_Condition unknownKind = numberRecord(QVFLASH_COND_LOCATION, 42);
    unknownKind.detail.kind = 2;
    const struct {
        qvflash_Condition record;
        Detail detail;
    } cases[] = {
        {numberRecord(QVFLASH_COND_REMAINING_ATTEMPTS, 9), 9LL},
        {numberRecord(QVFLASH_COND_PCSC_ERROR_CODE, -2146435060), -2146435060LL},
        {textRecord(QVFLASH_COND_EXPECTED_SECRET_TYPE, text), std::string(text)},
        {textRecord(QVFLASH_COND_STD_EXCEPTION, nullptr), std::string()},
        {unknownKind, std::monostate{}},
    };
    for (const auto& c : cases) {
        const auto condition = readCondition(c.record);
        EXPECT_EQ(condition.getCondCode(), c.record.code);
        EXPECT_EQ(condition.detail, c.detail) << c.record.code;
    }
}

} // namespace
