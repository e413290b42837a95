#pragma once

#include "Bytes.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace qvcard {

// The card side of one vpcd slot: a TCP client on loopback. Every message in both directions
// is a 2-byte big-endian length followed by that many bytes.
class VpcdLink {
public:
    // Connects to vpcd's port; throws VpcdError when nothing listens there.
    explicit VpcdLink(std::uint16_t port);
    ~VpcdLink();
    // One owner per socket: a copy would close it twice.
    VpcdLink(const VpcdLink&) = delete;
    VpcdLink& operator=(const VpcdLink&) = delete;

    // Waits up to `timeout` for the start of a message, then reads it whole. Empty result on
    // timeout; throws VpcdError when vpcd closed the connection.
    std::optional<Bytes> receive(std::chrono::milliseconds timeout);
    // A 0-byte message would tell vpcd the card left, so callers never send one.
    void send(const Bytes& message);

private:
    void readExactly(std::uint8_t* buffer, std::size_t size);

    int fd_ = -1;
};

class VpcdError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace qvcard
