#include "PcscTestClient.h"

#include <cstdio>
#include <thread>

namespace qvcardtest {

std::string hex(const Bytes& bytes)
{
    std::string text;
    char two[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(two, sizeof two, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += two;
    }
    return text;
}

Bytes unhex(const std::string& text)
{
    Bytes bytes;
    std::string digits;
    for (char c : text) {
        if (c != ' ') {
            digits += c;
        }
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

PcscTestClient::PcscTestClient()
{
    const LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context_);
    if (rv != SCARD_S_SUCCESS) {
        throw PcscFailure(rv);
    }
}

PcscTestClient::~PcscTestClient()
{
    if (card_ != 0) {
        SCardDisconnect(card_, SCARD_LEAVE_CARD);
    }
    SCardReleaseContext(context_);
}

std::vector<std::string> PcscTestClient::readers() const
{
    DWORD size = 0;
    if (SCardListReaders(context_, nullptr, nullptr, &size) != SCARD_S_SUCCESS) {
        return {};
    }
    std::string buffer(size, '\0');
    if (SCardListReaders(context_, nullptr, buffer.data(), &size) != SCARD_S_SUCCESS) {
        return {};
    }
    std::vector<std::string> names;
    for (std::size_t pos = 0; pos < buffer.size() && buffer[pos] != '\0';) {
        names.emplace_back(buffer.c_str() + pos);
        pos += names.back().size() + 1;
    }
    return names;
}

std::string PcscTestClient::waitForToken(std::uint64_t serial, std::chrono::milliseconds timeout)
{
    Bytes expected;
    for (int shift = 56; shift >= 0; shift -= 8) {
        expected.push_back(static_cast<std::uint8_t>(serial >> shift));
    }
    expected.push_back(0x90);
    expected.push_back(0x00);
    // At least one look, so a timeout of 0 asks whether the card is there now.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (const auto& reader : readers()) {
            try {
                connect(reader);
                const Bytes answer = transmit({0x00, 0xCA, 0x01, 0x81, 0x08}, 10);
                if (answer == expected) {
                    return reader;
                }
                disconnect();
            } catch (const PcscFailure&) {
                disconnect();
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool PcscTestClient::waitForRemoval(const std::string& reader, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        SCARD_READERSTATE state{};
        state.szReader = reader.c_str();
        state.dwCurrentState = SCARD_STATE_UNAWARE;
        if (SCardGetStatusChange(context_, 0, &state, 1) == SCARD_S_SUCCESS &&
            (state.dwEventState & SCARD_STATE_EMPTY) != 0) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool PcscTestClient::waitForNoCard(std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (const auto& reader : readers()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!waitForRemoval(reader, left)) {
            return false;
        }
    }
    return true;
}

void PcscTestClient::connect(const std::string& reader)
{
    disconnect();
    const LONG rv = SCardConnect(context_, reader.c_str(), SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1,
                                 &card_, &protocol_);
    if (rv != SCARD_S_SUCCESS) {
        card_ = 0;
        throw PcscFailure(rv);
    }
}

void PcscTestClient::disconnect(DWORD disposition)
{
    if (card_ != 0) {
        SCardDisconnect(card_, disposition);
        card_ = 0;
    }
}

Bytes PcscTestClient::transmit(const Bytes& command, std::size_t receive)
{
    Bytes response(receive);
    DWORD length = static_cast<DWORD>(receive);
    const SCARD_IO_REQUEST* pci = protocol_ == SCARD_PROTOCOL_T0 ? SCARD_PCI_T0 : SCARD_PCI_T1;
    lastError_ = SCardTransmit(card_, pci, command.data(), static_cast<DWORD>(command.size()), nullptr, response.data(),
                               &length);
    if (lastError_ != SCARD_S_SUCCESS) {
        throw PcscFailure(lastError_);
    }
    response.resize(length);
    return response;
}

std::string PcscTestClient::transmitHex(const std::string& command, std::size_t receive)
{
    return hex(transmit(unhex(command), receive));
}

Bytes PcscTestClient::atr()
{
    BYTE buffer[MAX_ATR_SIZE];
    DWORD atrLength = sizeof buffer;
    DWORD state = 0;
    DWORD protocol = 0;
    char name[256];
    DWORD nameLength = sizeof name;
    const LONG rv = SCardStatus(card_, name, &nameLength, &state, &protocol, buffer, &atrLength);
    if (rv != SCARD_S_SUCCESS) {
        throw PcscFailure(rv);
    }
    return Bytes(buffer, buffer + atrLength);
}

void PcscTestClient::resetCard()
{
    const LONG rv =
        SCardReconnect(card_, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, SCARD_RESET_CARD, &protocol_);
    if (rv != SCARD_S_SUCCESS) {
        throw PcscFailure(rv);
    }
}

} // namespace qvcardtest
