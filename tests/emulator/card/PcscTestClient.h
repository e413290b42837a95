#pragma once

#include <PCSC/winscard.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qvcardtest {

using Bytes = std::vector<std::uint8_t>;

// A deliberately small PC/SC client of the card tests' own: it shares nothing with the flash
// library, so the card cannot pass by sharing the library's mistakes.
class PcscTestClient {
public:
    PcscTestClient();
    ~PcscTestClient();
    // Owns a PC/SC context; a copy would release it twice.
    PcscTestClient(const PcscTestClient&) = delete;
    PcscTestClient& operator=(const PcscTestClient&) = delete;

    std::vector<std::string> readers() const;
    // Waits until a card that answers GET DATA with `serial` sits in some reader; returns the
    // reader's name, empty on timeout.
    std::string waitForToken(std::uint64_t serial, std::chrono::milliseconds timeout);
    // Waits until `reader` holds no card (true) or the timeout passes (false).
    bool waitForRemoval(const std::string& reader, std::chrono::milliseconds timeout) const;
    // Waits until no reader holds a card (true) or the timeout passes (false).
    bool waitForNoCard(std::chrono::milliseconds timeout) const;

    void connect(const std::string& reader);
    void disconnect(DWORD disposition = SCARD_LEAVE_CARD);
    // Sends one APDU as it is (no 61xx/6Cxx completion) with a receive buffer of `receive`
    // bytes; returns the response, or throws PcscFailure with the PC/SC code.
    Bytes transmit(const Bytes& command, std::size_t receive = 258);
    std::string transmitHex(const std::string& command, std::size_t receive = 258);
    Bytes atr();
    // SCardReconnect with a reset of the card, as another application would do it.
    void resetCard();
    LONG lastError() const { return lastError_; }

private:
    SCARDCONTEXT context_ = 0;
    SCARDHANDLE card_ = 0;
    DWORD protocol_ = 0;
    LONG lastError_ = SCARD_S_SUCCESS;
};

struct PcscFailure : std::exception {
    explicit PcscFailure(LONG c) : code(c) {}
    const char* what() const noexcept override { return "PC/SC call failed"; }
    LONG code;
};

std::string hex(const Bytes& bytes);
Bytes unhex(const std::string& text);

} // namespace qvcardtest
