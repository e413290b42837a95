// Cost of logging one token: 1, 8 and 64 threads each log one block with one generated PIN and
// flush it, as under the parallel strategy, through the usual composition (console, one log
// file per token, PIN file) and through a single log file. Prints the median cost per token
// and the median wall time of a round (thread starts included), and fails when a block or PIN row is missing.
#include "logging/LoggerFactories.h"
#include "logging/MultiFileLogger.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 30;

double microseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::micro>(duration).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::size_t countLines(const fs::path& path, const std::string& prefix)
{
    std::ifstream in(path);
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

// One round in a fresh folder; appends each token's cost and returns the wall time.
double round(const fs::path& folder, int threads, bool perToken, std::vector<double>& perTokenCosts)
{
    const auto pinFile = (folder / "pins.txt").string();
    const auto logFile = folder / "run.log";
    const auto logger = logging::compose({logging::createConsoleLogger(false),
                                          perToken ? std::make_shared<logging::MultiFileLogger>(folder.string())
                                                   : logging::createFileLogger(logFile.string()),
                                          logging::createPinFileLogger(pinFile)});
    logger->add(logging::CommandRecord{"set-user-pin", {{"new-pin-input", "generate"}}, {}});

    std::vector<double> costs(threads);
    std::vector<std::thread> tasks;
    const auto start = Clock::now();
    for (int i = 0; i < threads; ++i) {
        tasks.emplace_back([&, i] {
            const std::uint64_t serial = 100000 + i;
            const auto begin = Clock::now();
            logger->add(logging::OperationRecord{"2025.02.01_09.05.03", "Model X", serial});
            logger->add(serial, logging::PinRecord{"new-pin", "user", "Gen3rated" + std::to_string(i)});
            logger->flush(serial);
            costs[i] = microseconds(Clock::now() - begin);
        });
    }
    for (auto& task : tasks)
        task.join();
    const double wall = microseconds(Clock::now() - start);

    std::size_t blocks = 0;
    for (int i = 0; i < threads; ++i) {
        if (perToken)
            blocks += countLines(folder / "qvadmin-logs" / ("qvadmin_" + std::to_string(100000 + i) + ".log"),
                                 "status: success");
    }
    if (!perToken)
        blocks = countLines(logFile, "status: success");
    const auto rows = countLines(pinFile, "1000");
    if (logger->getError() != 0 || blocks != std::size_t(threads) || rows != std::size_t(threads)) {
        std::fprintf(stderr, "lost: %zu blocks and %zu PIN rows of %d tokens\n", blocks, rows, threads);
        std::exit(1);
    }
    perTokenCosts.insert(perTokenCosts.end(), costs.begin(), costs.end());
    return wall;
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "qvlogging-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return 1;
    const fs::path base = pattern;
    std::printf("%-16s %8s %22s %18s %16s\n", "sinks", "threads", "median per token (us)", "median wall (us)",
                "wall/tokens (us)");
    for (const bool perToken : {true, false}) {
        for (const int threads : {1, 8, 64}) {
            std::vector<double> costs;
            std::vector<double> walls;
            for (int r = 0; r < kRounds; ++r) {
                const auto folder = base / std::to_string(r);
                fs::create_directory(folder);
                walls.push_back(round(folder, threads, perToken, costs));
                fs::remove_all(folder);
            }
            std::printf("%-16s %8d %22.1f %18.1f %16.1f\n", perToken ? "per-token files" : "one log file", threads,
                        median(costs), median(walls), median(walls) / threads);
        }
    }
    fs::remove_all(base);
    return 0;
}
