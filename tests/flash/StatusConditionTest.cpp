#include "flash/StatusCondition.h"

#include <gtest/gtest.h>

namespace {

using Detail = std::variant<std::monostate, long long, std::string>;

qvflash_Condition record(qvflash_ConditionCode code, int32_t kind, int64_t value, char* text = nullptr)
{
    qvflash_Condition made{code, {kind, {value}}};
    if (kind == 1)
        made.detail.data.text = text;
    return made;
}

TEST(StatusCondition, EachDetailKindIsReadFromItsRecord)
{
    char text[] = "Expected: admin";
    const struct {
        qvflash_Condition record;
        Detail detail;
    } cases[] = {
        {record(QVFLASH_COND_REMAINING_ATTEMPTS, 0, 9), 9LL},
        {record(QVFLASH_COND_PCSC_ERROR_CODE, 0, -2146435060), -2146435060LL},
        {record(QVFLASH_COND_EXPECTED_SECRET_TYPE, 1, 0, text), std::string(text)},
        {record(QVFLASH_COND_STD_EXCEPTION, 1, 0, nullptr), std::string()},
        {record(QVFLASH_COND_LOCATION, 2, 42), std::monostate{}},
    };
    for (const auto& c : cases) {
        const auto condition = quorvik::qvflash::readCondition(c.record);
        EXPECT_EQ(condition.getCondCode(), c.record.code);
        EXPECT_EQ(condition.detail, c.detail) << c.record.code;
    }
}

} // namespace
