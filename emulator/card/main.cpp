#include "CardProcess.h"

#include <qvtoken-core/TokenStore.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int)
{
    stopRequested = true;
}

const char* const usage =
    "Usage: qvtoken-card [--ports PORT[,PORT...]] [SERIAL...]\n"
    "Attaches the plugged virtual tokens of the state directory (QVTOKEN_STATE_DIR), or only the\n"
    "named ones, to pcscd through vpcd, one vpcd port per token. Ports default to\n"
    "QVTOKEN_VPCD_PORTS, else 35963,35964. Runs until SIGTERM or SIGINT.\n";

std::vector<std::uint16_t> parsePorts(const std::string& text)
{
    std::vector<std::uint16_t> ports;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        const unsigned long port = std::stoul(item);
        if (port == 0 || port > 65535) {
            throw std::out_of_range(item);
        }
        ports.push_back(static_cast<std::uint16_t>(port));
    }
    if (ports.empty()) {
        throw std::invalid_argument(text);
    }
    return ports;
}

} // namespace

int main(int argc, char** argv)
{
    const char* fromEnvironment = std::getenv("QVTOKEN_VPCD_PORTS");
    std::string portText = fromEnvironment != nullptr ? fromEnvironment : "35963,35964";
    std::vector<std::uint64_t> serials;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument == "--help" || argument == "-h") {
                std::cout << usage;
                return 0;
            }
            if (argument == "--ports" && i + 1 < argc) {
                portText = argv[++i];
            } else {
                std::size_t used = 0;
                serials.push_back(std::stoull(argument, &used));
                if (used != argument.size()) {
                    throw std::invalid_argument(argument);
                }
            }
        }
        const auto ports = parsePorts(portText);
        std::signal(SIGTERM, requestStop);
        std::signal(SIGINT, requestStop);
        qvtoken::TokenStore store;
        qvcard::CardProcess process(store, ports, serials);
        process.run(stopRequested);
    } catch (const std::logic_error&) {
        std::cerr << usage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "qvtoken-card: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
