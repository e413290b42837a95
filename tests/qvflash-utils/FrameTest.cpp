// The call guard and the exports that read the last status.
#include "../qvflash/failingArrayNew.h"
#include "failingNew.h"

#include <qvflash-utils-core/executeSafe.h>
#include <qvflash-utils-core/threadException.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <system_error>

namespace {

using qvfl_utils::Condition;
using qvfl_utils::executeSafe;
using Conditions = std::vector<Condition>;

const Conditions& lastConditions()
{
    return qvfl_utils::threadException::getLast().conditions();
}

// An operation whose copy fails once armed, as a capture that cannot be
// copied would.
struct UncopyableOperation {
    static inline bool armed = false;
    UncopyableOperation() = default;
    UncopyableOperation(const UncopyableOperation&)
    {
        if (armed) {
            throw std::runtime_error("copy");
        }
    }
    void operator()() const {}
};

struct GuardCase {
    const char* name;
    std::function<void()> operation;
    qvfl_utils_StatusCode status;
    Conditions conditions;
};

TEST(GuardTest, EachWayAnOperationEndsGivesItsStatusAndConditions)
{
    const Conditions earlier{Condition(QVFL_UTILS_COND_ERROR_CODE, std::int64_t{7})};
    const GuardCase cases[] = {
        {"returns", [] {}, QVFL_UTILS_ST_OK, {}},
        {"library exception", [&] { throw qvfl_utils::Exception(QVFL_UTILS_ST_NO_CPU_INFO, earlier); },
         QVFL_UTILS_ST_NO_CPU_INFO, earlier},
        {"system error",
         [] { throw std::system_error(EACCES, std::system_category(), "open"); },
         QVFL_UTILS_ST_SYSTEM_ERROR,
         {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE,
                    std::system_error(EACCES, std::system_category(), "open").what()),
          Condition(QVFL_UTILS_COND_ERROR_CODE, std::int64_t{EACCES})}},
        {"negative error code",
         [] { throw std::system_error(-2, std::generic_category(), "x"); },
         QVFL_UTILS_ST_SYSTEM_ERROR,
         {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE, std::system_error(-2, std::generic_category(), "x").what()),
          Condition(QVFL_UTILS_COND_ERROR_CODE, std::int64_t{-2})}},
        {"standard exception",
         [] { throw std::out_of_range("index"); },
         QVFL_UTILS_ST_INTERNAL_ERROR,
         {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE, std::string("index"))}},
        {"non-standard exception", [] { throw 42; }, QVFL_UTILS_ST_INTERNAL_ERROR, {}},
        {"empty operation",
         std::function<void()>(),
         QVFL_UTILS_ST_INTERNAL_ERROR,
         {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE, std::string("bad_function_call"))}},
    };
    for (const GuardCase& row : cases) {
        SCOPED_TRACE(row.name);
        // Each row starts from another call's failure, which must not show.
        executeSafe([] { throw qvfl_utils::Exception(QVFL_UTILS_ST_NO_HD_INFO); });
        EXPECT_EQ(executeSafe(row.operation), row.status);
        EXPECT_EQ(qvfl_utils::threadException::getLast().code(), row.status);
        EXPECT_EQ(lastConditions(), row.conditions);
    }
}

TEST(GuardTest, AnOperationThatCannotBeCopiedLeavesTheLastStatus)
{
    executeSafe([] { throw std::logic_error("before"); });
    const Conditions before = lastConditions();
    const std::function<void()> operation = UncopyableOperation();
    UncopyableOperation::armed = true;
    EXPECT_EQ(executeSafe(operation), QVFL_UTILS_ST_INTERNAL_ERROR);
    UncopyableOperation::armed = false;
    EXPECT_EQ(lastConditions(), before);
}

TEST(GuardTest, NoMemoryForTheDetailsLeavesABareInternalError)
{
    executeSafe([] { throw std::system_error(EIO, std::system_category(), "earlier"); });
    const std::runtime_error failure(std::string(100, 'x'));
    // The next allocation is the copy of the message for the new condition.
    EXPECT_EQ(executeSafe([&] {
                  failNewAfter(1);
                  throw failure;
              }),
              QVFL_UTILS_ST_INTERNAL_ERROR);
    failNewAfter(0);
    EXPECT_EQ(qvfl_utils::threadException::getLast().code(), QVFL_UTILS_ST_INTERNAL_ERROR);
    EXPECT_TRUE(lastConditions().empty());
}

TEST(StatusExportsTest, NoMemoryForTheConditionsLeavesNothingBehind)
{
    executeSafe([] { throw std::system_error(EIO, std::system_category(), "read"); });
    const Conditions before = lastConditions();
    for (std::size_t failing : {1, 2}) {
        SCOPED_TRACE(failing);
        // 1: the array itself; 2: the text of the first record.
        qvfl_utils_Condition* list = reinterpret_cast<qvfl_utils_Condition*>(&list);
        std::size_t count = 99;
        failArrayNewAfter(failing);
        const qvfl_utils_StatusCode status = qvfl_utils_last_status_conditions(&list, &count);
        failArrayNewAfter(0);
        EXPECT_EQ(status, QVFL_UTILS_ST_INTERNAL_ERROR);
        EXPECT_EQ(list, nullptr);
        EXPECT_EQ(count, 0U);
        EXPECT_EQ(lastConditions(), before);
    }
}

} // namespace
