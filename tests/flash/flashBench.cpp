// What opening a flash token costs: the APDUs every card received (from their logs) and the wall
// time of Token::create with 1 and with 8 plugged tokens, then the time of one host snapshot
// through getPcSnapshot. Run it through scripts/bench-flash.
#include "PcscTestClient.h"
#include "VirtualTokens.h"
#include "apduLog.h"
#include "flash/Token.h"
#include "flash/getPcSnapshot.h"

#include <chrono>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main()
{
    try {
        qvcardtest::VirtualTokens tokens;
        qvcardtest::PcscTestClient client;
        std::vector<std::uint64_t> serials;
        for (const std::size_t plugged : {1, 8}) {
            while (serials.size() < plugged) {
                serials.push_back(0xF1A500 + serials.size());
                tokens.add(serials.back());
                if (client.waitForToken(serials.back(), std::chrono::seconds(10)).empty())
                    throw std::runtime_error("a virtual token did not show up");
                client.disconnect();
            }
            for (const auto serial : serials)
                clearApduLog(serial);
            // As the tool does it: one create per plugged token.
            const auto start = Clock::now();
            for (const auto serial : serials)
                if (!quorvik::qvflash::Token::create(serial))
                    throw std::runtime_error("a virtual token was not opened");
            const double ms = msSince(start);
            std::size_t total = 0;
            for (const auto serial : serials)
                total += sentApdus(serial).size();
            std::cout << plugged << " plugged: create of every token " << ms << " ms (" << ms / plugged
                      << " ms each), APDUs " << total << " (" << total / plugged << " per create)\n";
        }
        const auto start = Clock::now();
        const auto snapshot = getPcSnapshot();
        std::cout << "getPcSnapshot: " << msSince(start) << " ms, " << snapshot.size() << " bytes\n";
    } catch (const std::exception& error) {
        std::cerr << "flash-bench: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
