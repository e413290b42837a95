#include "CardProcess.h"

#include <qvtoken-core/Errors.h>

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

void CardProcess::rescan()
{
    namespace fs = std::filesystem;
    std::map<std::uint64_t, PlugState> current;
    std::error_code error;
    for (const std::uint64_t serial : store_.serials()) {
        const fs::path file = store_.stateFile(serial);
        const auto modified = fs::last_write_time(file, error);
        const auto size = fs::file_size(file, error);
        if (error) {
            error.clear();
            continue;
        }
        const auto known = seen_.find(serial);
        if (known != seen_.end() && known->second.modified == modified && known->second.size == size) {
            current.emplace(serial, known->second);
            continue;
        }
        try {
            if (const auto token = store_.load(serial)) {
                current.emplace(
                    serial, PlugState{modified, size, token->slotId, token->card.plugged, token->card.plugGeneration});
            }
        } catch (const qvtoken::StateError& damaged) {
            // Named once, kept unplugged until the file changes; the other tokens go on.
            std::cerr << "qvtoken-card: token left out: " << damaged.what() << '\n';
            current.emplace(serial, PlugState{modified, size, 0, false, 0});
        }
    }
    seen_ = std::move(current);
}

void CardProcess::refresh()
{
    rescan();
    // New tokens take free slots in slot-id order, as the module lists them.
    std::vector<std::pair<unsigned long, std::uint64_t>> order;
    for (const auto& [serial, state] : seen_) {
        order.emplace_back(state.slotId, serial);
    }
    std::sort(order.begin(), order.end());
    std::set<std::uint64_t> plugged;
    for (const auto& [slotId, serial] : order) {
        const PlugState& token = seen_.at(serial);
        const bool named = serials_.empty() || std::find(serials_.begin(), serials_.end(), serial) != serials_.end();
        if (!named || !token.plugged) {
            continue;
        }
        plugged.insert(serial);
        const unsigned long generation = token.generation;
        auto found = slots_.find(serial);
        if (found != slots_.end() && found->second->finished() &&
            (found->second->tokenGone() || found->second->generation() != generation)) {
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
                std::cerr << "qvtoken-card: no free vpcd slot for token " << serial << '\n';
                portsExhaustedReported_ = true;
            }
            continue;
        }
        slots_.emplace(serial, std::make_unique<CardSlot>(store_, serial, *port, generation));
    }
    for (auto it = slots_.begin(); it != slots_.end();) {
        it = plugged.count(it->first) != 0 ? std::next(it) : slots_.erase(it);
    }
}

} // namespace qvcard
