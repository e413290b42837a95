#pragma once

#include "CardSlot.h"

#include <qvtoken-core/TokenStore.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

namespace qvcard {

// Keeps the plugged virtual tokens attached, one vpcd slot each: a token plugged in (or
// created plugged) gets the first free port, an unplugged or deleted one loses its slot, a
// replug by someone else makes its card leave and come back.
class CardProcess {
public:
    // `serials` empty: every token of the store.
    CardProcess(qvtoken::TokenStore& store, std::vector<std::uint16_t> ports, std::vector<std::uint64_t> serials);

    // Runs until `stop` turns true; then every card leaves.
    void run(const std::atomic<bool>& stop);

private:
    // What the scan needs of one token, kept with the state file's time and size so that only
    // changed files are read again.
    struct PlugState {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        unsigned long slotId = 0;
        bool plugged = false;
        unsigned long generation = 0;
    };

    void refresh();
    void rescan();
    std::optional<std::uint16_t> freePort() const;

    qvtoken::TokenStore& store_;
    std::vector<std::uint16_t> ports_;
    std::vector<std::uint64_t> serials_;
    std::map<std::uint64_t, std::unique_ptr<CardSlot>> slots_;
    std::map<std::uint64_t, PlugState> seen_;
    bool portsExhaustedReported_ = false;
};

} // namespace qvcard
