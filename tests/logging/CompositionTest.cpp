#include "TempFolder.h"

#include "cli/LoggerError.h"
#include "logging/FileLogger.h"
#include "logging/LoggerFactories.h"
#include "logging/MultiFileLogger.h"
#include "logging/ThreadsafeProxyLogger.h"

#include <chrono>
#include <future>
#include <set>
#include <thread>

namespace {

namespace fs = std::filesystem;

// A sink with a fixed write-error code that can be told to throw on flush.
class FixedSink : public logging::BaseLogger {
public:
    FixedSink(int code, bool throwOnFlush) : code(code), throwOnFlush(throwOnFlush) {}

    void add(const logging::CommandRecord&) override {}
    void add(const logging::OperationRecord&) override {}
    void add(std::uint64_t, const logging::PinRecord&) override {}
    void add(std::uint64_t, const logging::MvaIdRecord&) override {}
    void add(std::uint64_t, const logging::LocalPinIdRecord&) override {}
    void addError(std::uint64_t, const std::string&) override {}
    void flush(std::uint64_t) override
    {
        ++flushes;
        if (throwOnFlush)
            throw LogWriteError();
    }
    int getError() override { return code; }

    int code;
    bool throwOnFlush;
    int flushes = 0;
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
    const auto later = std::make_shared<FixedSink>(0, true);
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
    EXPECT_EQ(later->flushes, 1);
}

TEST_F(CompositionTest, FirstNonZeroCodeInListOrderWins)
{
    using Codes = std::vector<int>;
    const std::pair<Codes, int> cases[] = {{{}, 0}, {{0, 0}, 0}, {{0, 1, 2}, 1}, {{2, 1}, 2}};
    for (const auto& [codes, expected] : cases) {
        std::vector<std::shared_ptr<logging::BaseLogger>> sinks;
        for (const int code : codes)
            sinks.push_back(std::make_shared<FixedSink>(code, false));
        const auto logger = logging::compose(sinks);
        logger->add(logging::OperationRecord{"t", "m", 1});
        logger->flush(1);
        EXPECT_EQ(logger->getError(), expected);
    }
}

TEST_F(CompositionTest, ProxyUnlocksWhenTheInnerCallThrows)
{
    ThreadsafeProxyLogger proxy(std::make_shared<FixedSink>(2, true));
    EXPECT_THROW(proxy.flush(1), LogWriteError);
    auto other = std::async(std::launch::async, [&] { return proxy.getError(); });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the proxy stayed locked";
    EXPECT_EQ(other.get(), 2);
}

// Every token's task logs at once, as under the parallel strategy; each sink must keep every
// token's block, line and row whole.
TEST_F(CompositionTest, SixtyFourTokensAtOnce)
{
    const auto pinPath = pathOf("pins.txt");
    for (const bool perToken : {true, false}) {
        SCOPED_TRACE(perToken ? "per-token files" : "one log file");
        fs::remove(pinPath);
        const auto logger = logging::compose({logging::createConsoleLogger(true),
                                              perToken ? std::make_shared<logging::MultiFileLogger>(dir.string())
                                                       : logging::createFileLogger(pathOf("run.log")),
                                              logging::createPinFileLogger(pinPath)});
        logger->add(logging::CommandRecord{"set-user-pin", {}, {}});
        testing::internal::CaptureStdout();
        std::vector<std::thread> tasks;
        for (std::uint64_t serial = 1000; serial < 1064; ++serial) {
            tasks.emplace_back([&logger, serial] {
                logger->add(logging::OperationRecord{"t", "m", serial});
                logger->add(serial, logging::PinRecord{"new-pin", "user", "pin" + std::to_string(serial)});
                logger->flush(serial);
            });
        }
        for (auto& task : tasks)
            task.join();
        const auto console = lines(testing::internal::GetCapturedStdout());
        EXPECT_EQ(logger->getError(), 0);

        std::multiset<std::string> consoleLines, rows, blocks;
        for (std::uint64_t serial = 1000; serial < 1064; ++serial) {
            const auto s = std::to_string(serial);
            consoleLines.insert("serial: " + s + ", model: m, new-pin: pin" + s);
            rows.insert(s + ";user;pin" + s);
            const auto block =
                "timestamp: t\nserial: " + s + "\nmodel: m\nset-user-pin\n    new-pin: pin" + s + "\nstatus: success";
            blocks.insert(block);
            if (perToken) {
                EXPECT_EQ(readFile(pathOf("qvadmin-logs/qvadmin_" + s + ".log")), block + "\n\n");
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
