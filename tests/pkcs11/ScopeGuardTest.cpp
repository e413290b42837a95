#include "pkcs11/ScopeGuard.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

class ScopeGuardTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = std::cerr.rdbuf(errors_.rdbuf()); }
    void TearDown() override { std::cerr.rdbuf(saved_); }

    std::ostringstream errors_;

private:
    std::streambuf* saved_ = nullptr;
};

TEST_F(ScopeGuardTest, ExitRunsAlwaysFailOnlyOnException)
{
    int exits = 0;
    int fails = 0;
    {
        const auto exit = vt::scopeGuard(vt::ScopeExit{}, [&] { ++exits; });
        const auto fail = vt::scopeGuard(vt::ScopeFail{}, [&] { ++fails; });
    }
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(fails, 0);

    try {
        const auto exit = vt::scopeGuard(vt::ScopeExit{}, [&] { ++exits; });
        const auto fail = vt::scopeGuard(vt::ScopeFail{}, [&] { ++fails; });
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(fails, 1);
}

// A guard built while another exception unwinds only fires for a new one.
TEST_F(ScopeGuardTest, FailCountsOnlyExceptionsAfterItsCreation)
{
    int fails = 0;
    struct Cleanup {
        int& fails;
        ~Cleanup()
        {
            const auto fail = vt::scopeGuard(vt::ScopeFail{}, [this] { ++fails; });
        }
    };
    try {
        Cleanup cleanup{fails};
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(fails, 0);
}

TEST_F(ScopeGuardTest, ActionErrorsAreReportedNotThrown)
{
    try {
        const auto fail = vt::scopeGuard(vt::ScopeFail{}, [] { throw std::runtime_error("finalize failed"); });
        throw std::logic_error("first");
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
    {
        const auto exit = vt::scopeGuard(vt::ScopeExit{}, [] { throw 42; });
    }
    EXPECT_EQ(errors_.str(), "finalize failed\nAn error occured in scope guard\n");
}

} // namespace
