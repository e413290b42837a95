#include "CardProcess.h"

#include <algorithm>
#include <iostream>
#include <set>
#include <thread>

namespace qvcard {
namespace {

// Plugging through `qvtoken` shows within this time.
constexpr std::chrono::milliseconds scanInterval{100};

} // namespace

CardProcess::CardProcess(qvtoken::TokenStore& store, std::vector<std::uint16_t> ports,
                         std::vector<std::uint64_t> serials)
    : store_(store), ports_(std::move(ports)), serials_(std::move(serials))
{
}

void CardProcess::run(const std::atomic<bool>& stop)
{
    while (!stop) {
        try {
            refresh();
        } catch (const std::exception& error) {
            std::cerr << "qvtoken-card: " << error.what() << '\n';
        }
        std::this_thread::sleep_for(scanInterval);
    }
    slots_.clear();
}

std::optional<std::uint16_t> CardProcess::freePort() const
{
    for (std::uint16_t port : ports_) {
        if (std::none_of(slots_.begin(), slots_.end(), [&](const auto& slot) { return slot.second->port() == port; })) {
            return port;
        }
    }
    return std::nullopt;
}

void CardProcess::refresh()
{
    std::set<std::uint64_t> plugged;
    for (const auto& token : store_.loadAll()) {
        const bool named = serials_.empty()
            || std::find(serials_.begin(), serials_.end(), token.serial) != serials_.end();
        if (!named || !token.card.plugged) {
            continue;
        }
        plugged.insert(token.serial);
        const unsigned long generation = token.card.plugGeneration;
        auto found = slots_.find(token.serial);
        if (found != slots_.end() && found->second->finished() && found->second->generation() != generation) {
            slots_.erase(found);
            found = slots_.end();
        }
        if (found != slots_.end()) {
            if (found->second->generation() != generation) {
                found->second->replug(generation);
            }
            continue;
        }
        const auto port = freePort();
        if (!port) {
            if (!portsExhaustedReported_) {
                std::cerr << "qvtoken-card: no free vpcd slot for token " << token.serial << '\n';
                portsExhaustedReported_ = true;
            }
            continue;
        }
        slots_.emplace(token.serial, std::make_unique<CardSlot>(store_, token.serial, *port, generation));
    }
    for (auto it = slots_.begin(); it != slots_.end();) {
        it = plugged.count(it->first) != 0 ? std::next(it) : slots_.erase(it);
    }
}

} // namespace qvcard
