#include "failingArrayNew.h"

#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/core/threadException.h>
#include <qvflash-core/errors/ApduException.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <thread>

using qvfl::Condition;
using qvfl::Exception;
using qvfl::core::executeSafe;
using qvfl::core::executeSafeNoStatusChange;

namespace {

static_assert(sizeof(qvflash_Condition) == 24);
static_assert(offsetof(qvflash_Condition, detail) + offsetof(qvflash_ConditionDetail, kind) == 8);
static_assert(offsetof(qvflash_Condition, detail) + offsetof(qvflash_ConditionDetail, data) == 16);

// Reads the calling thread's conditions through the exports, releasing them.
std::vector<Condition> lastConditions()
{
    qvflash_Condition* list = nullptr;
    std::size_t count = 99;
    EXPECT_EQ(qvflash_last_status_conditions(&list, &count), QVFLASH_ST_OK);
    std::vector<Condition> conditions;
    for (std::size_t i = 0; i < count; ++i) {
        const qvflash_ConditionDetail& detail = list[i].detail;
        if (detail.kind == 1) {
            conditions.emplace_back(list[i].code, std::string(detail.data.text));
        } else {
            conditions.emplace_back(list[i].code, detail.data.value);
        }
    }
    EXPECT_EQ(list == nullptr, count == 0);
    qvflash_last_status_conditions_destroy(&list, count);
    EXPECT_EQ(list, nullptr);
    return conditions;
}

const Exception kTwoConditions(QVFLASH_ST_INVALID_SECRET_ID,
                               {Condition(QVFLASH_COND_SECRET_ID, std::int64_t{32}),
                                Condition(QVFLASH_COND_SECRET_ID_RANGE, std::string("3-31"))});

TEST(Runner, AThreadThatNeverFailedHasNoConditions)
{
    std::thread([] { EXPECT_TRUE(lastConditions().empty()); }).join();
}

TEST(Runner, FailureIsKeptUntilTheNextStatusChangingCall)
{
    EXPECT_EQ(executeSafe([] { throw kTwoConditions; }), QVFLASH_ST_INVALID_SECRET_ID);
    EXPECT_EQ(lastConditions(), kTwoConditions.conditions());
    EXPECT_EQ(lastConditions(), kTwoConditions.conditions()); // reading does not consume

    EXPECT_EQ(executeSafeNoStatusChange([] { throw std::runtime_error("x"); }), QVFLASH_ST_INTERNAL_ERROR);
    EXPECT_EQ(executeSafeNoStatusChange([] { throw qvfl::ApduException(0x6A82); }), QVFLASH_ST_FILE_NOT_FOUND);
    EXPECT_EQ(lastConditions(), kTwoConditions.conditions());

    EXPECT_EQ(executeSafe([] {}), QVFLASH_ST_OK);
    EXPECT_TRUE(lastConditions().empty());
    EXPECT_EQ(qvfl::core::threadException::getLast().code(), QVFLASH_ST_OK);
}

TEST(Runner, ForeignExceptionsBecomeInternalErrors)
{
    EXPECT_EQ(executeSafe([] { throw std::logic_error("Unknown qvflash_SecureType"); }), QVFLASH_ST_INTERNAL_ERROR);
    EXPECT_EQ(lastConditions(),
              std::vector<Condition>{Condition(QVFLASH_COND_STD_EXCEPTION, std::string("Unknown qvflash_SecureType"))});

    EXPECT_EQ(executeSafe([] { throw 7; }), QVFLASH_ST_INTERNAL_ERROR);
    EXPECT_TRUE(lastConditions().empty());

    EXPECT_EQ(executeSafe(std::function<void()>{}), QVFLASH_ST_INTERNAL_ERROR);
    const std::vector<Condition> conditions = lastConditions();
    ASSERT_EQ(conditions.size(), 1U);
    EXPECT_EQ(conditions[0].code(), QVFLASH_COND_STD_EXCEPTION);
}

TEST(Runner, SubclassesAreStoredAsTheBaseException)
{
    EXPECT_EQ(executeSafe([] { throw qvfl::ApduException(0x6983); }), QVFLASH_ST_OBJECT_BLOCKED);
    EXPECT_EQ(typeid(qvfl::core::threadException::getLast()), typeid(Exception));
    EXPECT_EQ(lastConditions(), std::vector<Condition>{Condition(QVFLASH_COND_APDU_STATUS, std::int64_t{0x6983})});
}

TEST(Runner, EachThreadReadsItsOwnLastStatus)
{
    auto failWith = [](qvflash_StatusCode code, std::int64_t detail) {
        for (int round = 0; round < 200; ++round) {
            const Exception failure(code, {Condition(QVFLASH_COND_SECRET_ID, detail)});
            ASSERT_EQ(executeSafe([&] { throw failure; }), code);
            std::this_thread::yield();
            ASSERT_EQ(lastConditions(), failure.conditions());
        }
    };
    std::thread first(failWith, QVFLASH_ST_INVALID_SECRET_ID, 5);
    std::thread second(failWith, QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH, 7);
    first.join();
    second.join();
}

TEST(StatusExports, NullPointersGiveStatus3AndLeaveTheLastStatus)
{
    EXPECT_EQ(executeSafe([] { throw kTwoConditions; }), QVFLASH_ST_INVALID_SECRET_ID);

    std::size_t count = 0;
    qvflash_Condition* list = nullptr;
    EXPECT_EQ(qvflash_status_description(QVFLASH_ST_OK, nullptr), QVFLASH_ST_NULL_PTR_ARG);
    EXPECT_EQ(qvflash_condition_description(QVFLASH_COND_SECRET_ID, nullptr), QVFLASH_ST_NULL_PTR_ARG);
    EXPECT_EQ(qvflash_last_status_conditions(nullptr, &count), QVFLASH_ST_NULL_PTR_ARG);
    EXPECT_EQ(qvflash_last_status_conditions(&list, nullptr), QVFLASH_ST_NULL_PTR_ARG);
    EXPECT_EQ(lastConditions(), kTwoConditions.conditions());
}

TEST(StatusExports, DescriptionsAreStaticTextsOrNull)
{
    const char* text = "unchanged";
    EXPECT_EQ(qvflash_status_description(QVFLASH_ST_NULL_PTR_ARG, &text), QVFLASH_ST_OK);
    EXPECT_STREQ(text, "Passed pointer is nil");
    for (const int code : {6000, 6019, 100000, 100020}) {
        text = "unchanged";
        EXPECT_EQ(qvflash_status_description(static_cast<qvflash_StatusCode>(code), &text), QVFLASH_ST_OK);
        EXPECT_EQ(text, nullptr) << code;
    }
    EXPECT_EQ(qvflash_condition_description(QVFLASH_COND_PCSC_ERROR_CODE_HEX, &text), QVFLASH_ST_OK);
    EXPECT_STREQ(text, "PCSC error code, hex");
}

TEST(StatusExports, DestroyReleasesNothingWithoutAListOrCount)
{
    qvflash_last_status_conditions_destroy(nullptr, 3);
    qvflash_Condition* list = nullptr;
    qvflash_last_status_conditions_destroy(&list, 3);
    qvflash_Condition single{};
    qvflash_Condition* notOwned = &single;
    qvflash_last_status_conditions_destroy(&notOwned, 0);
    EXPECT_EQ(notOwned, &single);
}

TEST(StatusExports, AFailedCopyPublishesAndLeavesNothing)
{
    const Exception threeTexts(QVFLASH_ST_PCSC_ERROR, {Condition(QVFLASH_COND_LOCATION, std::string("a")),
                                                       Condition(QVFLASH_COND_PCSC_ERROR_CODE, std::int64_t{-1}),
                                                       Condition(QVFLASH_COND_PCSC_ERROR_CODE_HEX, std::string("b"))});
    ASSERT_EQ(executeSafe([&] { throw threeTexts; }), QVFLASH_ST_PCSC_ERROR);

    // The array and the first text succeed, the second text fails.
    qvflash_Condition* list = reinterpret_cast<qvflash_Condition*>(&list);
    std::size_t count = 99;
    failArrayNewAfter(3);
    const qvflash_StatusCode result = qvflash_last_status_conditions(&list, &count);
    failArrayNewAfter(0);
    EXPECT_EQ(result, QVFLASH_ST_INTERNAL_ERROR);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(count, 0U);
    // What was built is released (the sanitizer build reports a leak otherwise)
    // and the last status is still whole.
    EXPECT_EQ(lastConditions(), threeTexts.conditions());
}

} // namespace
