#include "TempFolder.h"

#include "cli/LoggerError.h"
#include "logging/FileLogger.h"
#include "logging/LoggerFactories.h"
#include "logging/MultiFileLogger.h"
#include "logging/ThreadsafeProxyLogger.h"

#include <gmock/gmock.h>

#include <chrono>
#include <future>
#include <set>
#include <thread>

namespace {

namespace fs = std::filesystem;

using testing::NiceMock;
using testing::Return;
using testing::Throw;

class MockLogger : public logging::BaseLogger {
public:
    MOCK_METHOD(void, add, (const logging::CommandRecord&), (override));
    MOCK_METHOD(void, add, (const logging::OperationRecord&), (override));
    MOCK_METHOD(void, add, (std::uint64_t, const logging::PinRecord&), (override));
    MOCK_METHOD(void, add, (std::uint64_t, const logging::MvaIdRecord&), (override));
    MOCK_METHOD(void, add, (std::uint64_t, const logging::LocalPinIdRecord&), (override));
    MOCK_METHOD(void, addError, (std::uint64_t, const std::string&), (override));
    MOCK_METHOD(void, flush, (std::uint64_t), (override));
    MOCK_METHOD(int, getError, (), (override));
};

using CompositionTest = TempFolderTest;

// The pieces of a text that end with the separator, without it.
std::multiset<std::string> lines(const std::string& text, const std::string& separator = "\n")
{
    std::multiset<std::string> pieces;
    for (std::size_t start = 0, end; (end = text.find(separator, start)) != std::string::npos;
         start = end + separator.size())
        pieces.insert(text.substr(start, end - start));
    return pieces;
}

TEST_F(CompositionTest, FailedLogFileStillLetsThePinFileHaveTheFlush)
{
    const auto logPath = pathOf("run.log");
    const auto pinPath = pathOf("pins.txt");
    const auto later = std::make_shared<NiceMock<MockLogger>>();
    EXPECT_CALL(*later, flush(77)).WillOnce(Throw(LogWriteError()));
    const auto logger =
        logging::compose({logging::createFileLogger(logPath), logging::createPinFileLogger(pinPath), later});
    logger->add(logging::CommandRecord{"set-user-pin", {}, {}});
    logger->add(logging::OperationRecord{"t", "m", 77});
    logger->add(77, logging::PinRecord{"new-pin", "user", "Gen3rated"});
    // The log file is replaced by a folder mid-run.
    fs::remove(logPath);
    fs::create_directory(logPath);
    try {
        logger->flush(77);
        ADD_FAILURE() << "the flush succeeded";
    } catch (const FileOpenError& error) {
        EXPECT_EQ(error.what(), "Couldn't open or create file: " + logPath + ".");
    }
    EXPECT_EQ(readFile(pinPath), "Token Number;PIN Type;Value\n77;user;Gen3rated\n");
}

TEST_F(CompositionTest, FirstNonZeroCodeInListOrderWins)
{
    using Codes = std::vector<int>;
    const std::pair<Codes, int> cases[] = {{{}, 0}, {{0, 0}, 0}, {{0, 1, 2}, 1}, {{2, 1}, 2}};
    for (const auto& [codes, expected] : cases) {
        std::vector<std::shared_ptr<logging::BaseLogger>> sinks;
        for (const int code : codes) {
            auto sink = std::make_shared<NiceMock<MockLogger>>();
            ON_CALL(*sink, getError()).WillByDefault(Return(code));
            sinks.push_back(sink);
        }
        EXPECT_EQ(logging::compose(sinks)->getError(), expected);
    }
}

TEST_F(CompositionTest, ProxyUnlocksWhenTheInnerCallThrows)
{
    const auto inner = std::make_shared<NiceMock<MockLogger>>();
    ON_CALL(*inner, flush(1)).WillByDefault(Throw(LogWriteError()));
    ON_CALL(*inner, getError()).WillByDefault(Return(2));
    ThreadsafeProxyLogger proxy(inner);
    EXPECT_THROW(proxy.flush(1), LogWriteError);
    auto other = std::async(std::launch::async, [&] { return proxy.getError(); });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the proxy stayed locked";
    EXPECT_EQ(other.get(), 2);
}

// Every token's task logs at once, as under the parallel strategy, and again, so that the calls
// overlap often; each sink must keep every token's block, line and row whole.
TEST_F(CompositionTest, SixtyFourTokensAtOnce)
{
    constexpr int kRepeats = 10;
    const auto pinPath = pathOf("pins.txt");
    for (const bool perToken : {true, false}) {
        SCOPED_TRACE(perToken ? "per-token files" : "one log file");
        fs::remove(pinPath);
        const auto logger = logging::compose({logging::createConsoleLogger(true),
                                              perToken ? std::make_shared<logging::MultiFileLogger>(dir_.string())
                                                       : logging::createFileLogger(pathOf("run.log")),
                                              logging::createPinFileLogger(pinPath)});
        logger->add(logging::CommandRecord{"set-user-pin", {}, {}});
        testing::internal::CaptureStdout();
        // All tasks start together, so that their calls overlap.
        std::promise<void> start;
        const std::shared_future<void> go = start.get_future().share();
        std::vector<std::thread> tasks;
        for (std::uint64_t serial = 1000; serial < 1064; ++serial) {
            tasks.emplace_back([&logger, serial, go] {
                go.wait();
                for (int repeat = 0; repeat < kRepeats; ++repeat) {
                    logger->add(logging::OperationRecord{"t", "m", serial});
                    logger->add(serial, logging::PinRecord{"new-pin", "user", "pin" + std::to_string(serial)});
                    logger->flush(serial);
                }
            });
        }
        start.set_value();
        for (auto& task : tasks)
            task.join();
        const auto console = lines(testing::internal::GetCapturedStdout());
        EXPECT_EQ(logger->getError(), 0);

        std::multiset<std::string> consoleLines, rows, blocks;
        for (std::uint64_t serial = 1000; serial < 1064; ++serial) {
            const auto s = std::to_string(serial);
            const auto block =
                "timestamp: t\nserial: " + s + "\nmodel: m\nset-user-pin\n    new-pin: pin" + s + "\nstatus: success";
            std::string file;
            for (int repeat = 0; repeat < kRepeats; ++repeat) {
                consoleLines.insert("serial: " + s + ", model: m, new-pin: pin" + s);
                rows.insert(s + ";user;pin" + s);
                blocks.insert(block);
                file += block + "\n\n";
            }
            if (perToken) {
                EXPECT_EQ(readFile(pathOf("qvadmin-logs/qvadmin_" + s + ".log")), file);
            }
        }
        EXPECT_EQ(console, consoleLines);
        rows.insert("Token Number;PIN Type;Value");
        EXPECT_EQ(lines(readFile(pinPath)), rows);
        if (!perToken) {
            EXPECT_EQ(lines(readFile(pathOf("run.log")), "\n\n"), blocks);
        }
    }
}

} // namespace
