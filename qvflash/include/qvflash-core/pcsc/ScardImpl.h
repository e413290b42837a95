#pragma once

#include <qvflash-core/pcsc/Scard.h>
#include <qvflash-core/pcsc/ScardContext.h>

#include <PCSC/winscard.h>

#include <functional>
#include <string>

namespace qvfl {

using PcscString = std::string;

// A card connected through PC/SC in shared mode, with a context of its own.
// Reconnects by itself when another application has reset the card.
class ScardImpl : public Scard {
public:
    explicit ScardImpl(const PcscString& readerName);
    ~ScardImpl() override;
    // Owns a connection: a copy would disconnect it twice.
    ScardImpl(const ScardImpl&) = delete;
    ScardImpl& operator=(const ScardImpl&) = delete;

    Response transmit(const Apdu& apdu) override;
    void lock() override;
    void unlock() override;
    void swap(Scard& other) override;

    // The historical bytes of the card's ATR; empty when PC/SC cannot report it.
    std::vector<std::uint8_t> getHistBytes() const;

private:
    // One raw exchange; response comes in sized to what may come back.
    void transmit(const std::vector<std::uint8_t>& command, std::vector<std::uint8_t>& response);
    // Runs a card operation, reconnecting after a reset by another application.
    void safeTransmit(const std::function<LONG()>& operation);
    void reconnect(const char* raisingFunction);

    ScardContext context;
    SCARDHANDLE card = 0;
    DWORD activeProtocol = 0;
    std::uint64_t lockCount = 0;
};

} // namespace qvfl
