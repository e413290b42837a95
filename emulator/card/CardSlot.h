#pragma once

#include "CardApplication.h"

#include <qvtoken-core/TokenStore.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace qvcard {

// One virtual token in one vpcd slot, served by its own thread: connects to vpcd (the card is
// inserted), answers every message, leaves the bus and comes back when the token restarts,
// and disconnects (the card is removed) when stopped.
class CardSlot {
public:
    // `generation` is the token's plug generation at the time of plugging.
    CardSlot(qvtoken::TokenStore& store, std::uint64_t serial, std::uint16_t port, unsigned long generation);
    // Removes the card and joins the thread.
    ~CardSlot();
    // A running thread refers to this object; it cannot move.
    CardSlot(const CardSlot&) = delete;
    CardSlot& operator=(const CardSlot&) = delete;

    std::uint64_t serial() const { return serial_; }
    std::uint16_t port() const { return port_; }
    // The plug generation this slot last produced or saw; another value in the state file means
    // someone replugged the token.
    unsigned long generation() const { return generation_; }
    // Leave the bus and come back, as after a replug by someone else.
    void replug(unsigned long generation);
    // The card left for good: a fault rule (only a new plug-in brings it back), or the token
    // was deleted (a token created again under its serial comes back at once).
    bool finished() const { return finished_; }
    bool tokenGone() const { return tokenGone_; }

private:
    void run();
    // Serves one connection until it ends; returns how long to stay away, or -1 for good.
    long serve(class VpcdLink& link);
    bool sleepFor(std::chrono::milliseconds duration);

    std::uint64_t serial_;
    std::uint16_t port_;
    std::atomic<unsigned long> generation_;
    CardApplication application_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> replugRequested_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> tokenGone_{false};
    // The card left on its own (restart, pulled out), so it re-enumerates when it comes back;
    // after a replug made by someone else that already happened.
    bool comesBackReplugged_ = false;
    std::thread thread_;
};

} // namespace qvcard
