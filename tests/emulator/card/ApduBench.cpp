// Round trip of one short APDU (GET DATA serial) through pcscd and vpcd to the virtual card:
// median and spread over many exchanges. Run it through scripts/bench-apdu.
#include "PcscTestClient.h"
#include "VirtualTokens.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace std::chrono;
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    if (count <= 0) {
        std::cerr << "usage: apdu-bench [COUNT]\n";
        return 2;
    }
    try {
        qvcardtest::VirtualTokens tokens;
        constexpr std::uint64_t serial = 0xBE4C;
        tokens.add(serial);
        qvcardtest::PcscTestClient client;
        if (client.waitForToken(serial, seconds(10)).empty()) {
            std::cerr << "apdu-bench: the virtual token did not show up\n";
            return 1;
        }
        const qvcardtest::Bytes command{0x00, 0xCA, 0x01, 0x81, 0x08};
        std::vector<double> micros;
        micros.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const auto start = steady_clock::now();
            client.transmit(command, 10);
            micros.push_back(duration<double, std::micro>(steady_clock::now() - start).count());
        }
        std::sort(micros.begin(), micros.end());
        const auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (micros.size() - 1))]; };
        std::cout << "APDU round trip over " << count << " exchanges (us): median " << at(0.5) << ", p10 " << at(0.1)
                  << ", p90 " << at(0.9) << ", max " << micros.back() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "apdu-bench: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
