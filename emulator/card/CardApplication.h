#pragma once

#include "ApduLog.h"
#include "Bytes.h"
#include "CardSession.h"

#include <qvtoken-core/TokenStore.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace qvcard {

// What the vpcd side must do after one message.
struct Exchange {
    // Sent back unless `close`; never empty.
    Bytes reply;
    // Wait this long before sending the reply.
    std::chrono::milliseconds delay{0};
    // Then hold the reply back while this file exists (none when empty).
    std::filesystem::path heldWhile;
    // Drop the connection without answering ("pulled out").
    bool close = false;
    // After answering, leave the bus (token restart).
    bool leaveBus = false;
    // How long to stay away after `close` or `leaveBus`, or for good.
    std::chrono::milliseconds away{0};
    bool never = false;
};

// One token's card application for the life of one plug-in: the volatile session, and every
// message applied as one read-modify-write of the token's state file under its lock, so the
// other road to the token sees each change at once. Fault rules of the token are applied here.
class CardApplication {
public:
    CardApplication(qvtoken::TokenStore& store, std::uint64_t serial, ApduLog log);

    // Reads the ATR to show for this plug-in; it stays the same until the next one.
    Bytes attach();
    // A vpcd control message: 00 power off, 01 power on, 02 reset, 04 GET ATR.
    Exchange control(std::uint8_t code);
    Exchange command(const Bytes& raw);
    // The token comes back after leaving the bus: fresh session, temporary states gone,
    // rules waiting for a replug armed. Returns the new plug generation.
    unsigned long replug();
    // Serial reported from the next plug-in on, for a card that comes back as another token.
    void reportSerial(std::uint64_t serial) { reportedSerial_ = serial; }

private:
    Exchange applyFault(const qvtoken::CardFault& fault, const Bytes& raw, qvtoken::TokenState& token);
    Bytes process(const Bytes& raw, qvtoken::TokenState& token, std::size_t chunkOverride, bool& leaveBus);

    qvtoken::TokenStore& store_;
    std::uint64_t serial_;
    ApduLog log_;
    CardSession session_;
    Bytes atr_;
    std::optional<std::uint64_t> reportedSerial_;
};

} // namespace qvcard
