#include "VirtualTokens.h"
#include "cli/DomainError.h"
#include "cli/runSignals.h"
#include "pkcs11/Pkcs11.h"
#include "token/AnyTokenFilter.h"
#include "token/MainThreadStrategy.h"
#include "token/ParallelStrategy.h"
#include "token/Token.h"
#include "token/TokenManager.h"
#include "token/tokenOperations.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <future>
#include <map>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

using Events = std::map<std::uint64_t, std::vector<std::string>>;

// What each token's records were, in the order they came.
class RecordingLogger : public logging::BaseLogger {
public:
    void add(const logging::CommandRecord&) override { note(0, "command"); }
    void add(const logging::OperationRecord& record) override { note(record.serialNumber, "operation"); }
    void add(std::uint64_t serial, const logging::PinRecord&) override { note(serial, "pin"); }
    void add(std::uint64_t serial, const logging::MvaIdRecord&) override { note(serial, "mva"); }
    void add(std::uint64_t serial, const logging::LocalPinIdRecord&) override { note(serial, "local"); }
    void addError(std::uint64_t serial, const std::string& error) override { note(serial, "error: " + error); }
    void flush(std::uint64_t serial) override { note(serial, "flush"); }
    int getError() override { return 0; }

    Events events;

private:
    void note(std::uint64_t serial, const std::string& event)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        events[serial].push_back(event);
    }

    std::mutex mutex;
};

class StrategyTest : public quorvik::pkcs11::VirtualTokens {
protected:
    // The module reads its tokens when it starts, so the tokens come first.
    TokenManager& manager(int tokens)
    {
        for (int i = 0; i < tokens; ++i) {
            addToken("full", kFirstSerial + i, 1 + i, [](qvtoken::TokenState& token) { token.card.plugged = false; });
        }
        module.emplace(nullptr);
        tokenManager.emplace(*module);
        tokenManager->setFilter(std::make_shared<AnyTokenFilter>());
        return *tokenManager;
    }

    // Runs the strategy; the status lines it printed.
    template <typename Run>
    std::string printed(Run run)
    {
        testing::internal::CaptureStdout();
        try {
            run();
        } catch (...) {
            lastOut = testing::internal::GetCapturedStdout();
            throw;
        }
        return lastOut = testing::internal::GetCapturedStdout();
    }

    static constexpr std::uint64_t kFirstSerial = 7001;
    std::optional<quorvik::pkcs11::Pkcs11> module;
    std::optional<TokenManager> tokenManager;
    std::string lastOut;
};

TEST_F(StrategyTest, NoTokenFailsBeforeAnyApplierOrStatus)
{
    auto& tokens = manager(0);
    int calls = 0;
    const auto applier = [&calls](Token&) { return ++calls > 0; };
    const MainThreadStrategy mainThread;
    const ParallelStrategy parallel;
    for (const BaseStrategy* strategy : std::initializer_list<const BaseStrategy*>{&mainThread, &parallel}) {
        EXPECT_THROW(printed([&] { strategy->execute(applier, tokens, true); }), NoTokenError);
        EXPECT_EQ(lastOut, "");
    }
    EXPECT_EQ(calls, 0);
}

TEST_F(StrategyTest, MainThreadRefusesTwoTokensWithoutTouchingEither)
{
    auto& tokens = manager(2);
    auto logger = std::make_shared<RecordingLogger>();
    const auto applier = token_operations::createLoggingApplier([](auto, Token&) {}, logger);
    EXPECT_THROW(printed([&] { MainThreadStrategy().execute(applier, tokens, true); }), TooManyTokensError);
    EXPECT_EQ(lastOut, "");
    EXPECT_TRUE(logger->events.empty());
}

TEST_F(StrategyTest, ParallelRecordsEveryTokenThenOneFailureStatus)
{
    auto& tokens = manager(3);
    auto logger = std::make_shared<RecordingLogger>();
    std::mutex mutex;
    std::vector<std::thread::id> threads;
    const auto operation = [&](std::shared_ptr<logging::BaseLogger>, Token& token) {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            threads.push_back(std::this_thread::get_id());
        }
        if (token.getSerialNumber() == kFirstSerial + 1) {
            throw std::runtime_error("refused");
        }
    };
    const auto applier = token_operations::createLoggingApplier(operation, logger);
    EXPECT_THROW(printed([&] { ParallelStrategy().execute(applier, tokens, true); }), OperationFailedError);
    EXPECT_EQ(lastOut, "status: failure\n");
    const std::vector<std::string> done{"operation", "flush"};
    const std::vector<std::string> failed{"operation", "error: refused", "flush"};
    EXPECT_EQ(logger->events, (Events{{kFirstSerial, done}, {kFirstSerial + 1, failed}, {kFirstSerial + 2, done}}));
    ASSERT_EQ(threads.size(), 3u);
    for (const auto& thread : threads) {
        EXPECT_NE(thread, std::this_thread::get_id());
    }
}

// A task that threw after another failed is still read: the status line comes first, then what
// it threw.
TEST_F(StrategyTest, ParallelReadsEveryTaskAndPassesOnWhatOneThrewAfterTheStatus)
{
    auto& tokens = manager(3);
    const auto applier = [](Token& token) {
        const auto serial = token.getSerialNumber();
        if (serial == kFirstSerial + 2) {
            throw 42;
        }
        return serial != kFirstSerial;
    };
    EXPECT_THROW(printed([&] { ParallelStrategy().execute(applier, tokens, true); }), int);
    EXPECT_EQ(lastOut, "status: failure\n");
}

// A token whose task the system cannot start is worked on by the calling thread: every token is
// done and recorded, wherever the launcher fails.
TEST_F(StrategyTest, ParallelWorksOnATokenWhoseTaskCannotStart)
{
    auto& tokens = manager(3);
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(failing);
        auto logger = std::make_shared<RecordingLogger>();
        std::mutex mutex;
        std::map<std::uint64_t, std::thread::id> threads;
        const auto operation = [&](std::shared_ptr<logging::BaseLogger>, Token& token) {
            const std::lock_guard<std::mutex> lock(mutex);
            threads[token.getSerialNumber()] = std::this_thread::get_id();
        };
        int launched = 0;
        const ParallelStrategy strategy([&](std::function<bool()> task) {
            if (launched++ == failing) {
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            return std::async(std::launch::async, std::move(task));
        });
        EXPECT_EQ(
            printed([&] { strategy.execute(token_operations::createLoggingApplier(operation, logger), tokens, true); }),
            "status: success\n");
        const std::vector<std::string> done{"operation", "flush"};
        EXPECT_EQ(logger->events, (Events{{kFirstSerial, done}, {kFirstSerial + 1, done}, {kFirstSerial + 2, done}}));
        for (const auto& [serial, thread] : threads) {
            EXPECT_EQ(thread == std::this_thread::get_id(), serial == kFirstSerial + failing) << serial;
        }
    }
}

// A signal during a run lets the token at work finish and begins no other: each is named as not
// done, the status line follows, and the process ends with 128 plus the signal's number.
TEST_F(StrategyTest, AnInterruptedRunBeginsNoOtherTokenAndNamesEach)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto& tokens = manager(3);
    // Deferred tasks run one after another as they are read, so the first ends before the
    // others would begin.
    const ParallelStrategy oneAfterAnother(
        [](std::function<bool()> task) { return std::async(std::launch::deferred, std::move(task)); });
    const auto applier = [](Token&) {
        kill(getpid(), SIGTERM);
        for (int i = 0; i < 1000 && run_signals::interruptingSignal() == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    };
    EXPECT_EXIT(
        {
            const auto out = printed([&] {
                try {
                    oneAfterAnother.execute(applier, tokens, true);
                } catch (const OperationFailedError&) {
                }
            });
            std::cerr << out;
            // The child leaves by exit, past the fixture's TearDown: it removes its folder here.
            TearDown();
            std::exit(run_signals::exitStatus(0));
        },
        testing::ExitedWithCode(128 + SIGTERM),
        "serial: 7002, error: Not done: the run was interrupted.\n"
        "serial: 7003, error: Not done: the run was interrupted.\n"
        "status: failure\n$");
}

} // namespace
