#include <qvflash-core/pcsc/ScardImpl.h>

#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/pcsc/exchangeApdu.h>
#include <qvflash-core/pcsc/familyAtr.h>

#include <stdexcept>
#include <utility>

namespace qvfl {
namespace {

constexpr char kConstructorFunction[] = "qvfl::ScardImpl::ScardImpl(const PcscString &)";
constexpr char kSafeTransmitFunction[] = "void qvfl::ScardImpl::safeTransmit(const std::function<LONG ()> &)";
constexpr char kLockFunction[] = "virtual void qvfl::ScardImpl::lock()";

// A reset by another application is retried this many times.
constexpr int kResetRetries = 3;
constexpr DWORD kMaxAtrSize = 32;

LPCSCARD_IO_REQUEST protocolToIoReq(DWORD protocol)
{
    switch (protocol) {
    case SCARD_PROTOCOL_T0:
        return SCARD_PCI_T0;
    case SCARD_PROTOCOL_T1:
        return SCARD_PCI_T1;
    case SCARD_PROTOCOL_RAW:
        return SCARD_PCI_RAW;
    default:
        throw PcscException(SCARD_E_UNEXPECTED, __FILE__, "LPCSCARD_IO_REQUEST qvfl::protocolToIoReq(DWORD)", __LINE__);
    }
}

} // namespace

ScardImpl::ScardImpl(const PcscString& readerName) : context(kConstructorFunction)
{
    const LONG rc = SCardConnect(context.get(), readerName.c_str(), SCARD_SHARE_SHARED,
                                 SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card, &activeProtocol);
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, kConstructorFunction, __LINE__);
    }
}

ScardImpl::~ScardImpl()
{
    if (lockCount > 0) {
        SCardEndTransaction(card, SCARD_LEAVE_CARD);
    }
    SCardDisconnect(card, SCARD_LEAVE_CARD);
}

Scard::Response ScardImpl::transmit(const Apdu& apdu)
{
    return exchangeApdu(apdu, activeProtocol == SCARD_PROTOCOL_T0,
                        [this](const std::vector<std::uint8_t>& command, std::vector<std::uint8_t>& response) {
                            transmit(command, response);
                        });
}

void ScardImpl::transmit(const std::vector<std::uint8_t>& command, std::vector<std::uint8_t>& response)
{
    DWORD received = 0;
    safeTransmit([&] {
        // After a reconnect the protocol may differ: look it up on every attempt.
        received = static_cast<DWORD>(response.size());
        return SCardTransmit(card, protocolToIoReq(activeProtocol), command.data(), static_cast<DWORD>(command.size()),
                             nullptr, response.data(), &received);
    });
    response.resize(received);
}

void ScardImpl::safeTransmit(const std::function<LONG()>& operation)
{
    LONG rc = operation();
    for (int retry = 0; retry < kResetRetries && rc == SCARD_W_RESET_CARD; ++retry) {
        reconnect(kSafeTransmitFunction);
        // A reset ends the transaction this object held; reopen it first.
        if (lockCount > 0) {
            rc = SCardBeginTransaction(card);
            if (rc != SCARD_S_SUCCESS) {
                continue;
            }
        }
        rc = operation();
    }
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, kSafeTransmitFunction, __LINE__);
    }
}

void ScardImpl::reconnect(const char* raisingFunction)
{
    const LONG rc = SCardReconnect(card, SCARD_SHARE_SHARED, activeProtocol, SCARD_LEAVE_CARD, &activeProtocol);
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, raisingFunction, __LINE__);
    }
}

void ScardImpl::lock()
{
    if (lockCount > 0) {
        ++lockCount;
        return;
    }
    LONG rc = SCardBeginTransaction(card);
    for (int retry = 0; retry < kResetRetries && rc == SCARD_W_RESET_CARD; ++retry) {
        reconnect(kLockFunction);
        rc = SCardBeginTransaction(card);
    }
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, kLockFunction, __LINE__);
    }
    lockCount = 1;
}

void ScardImpl::unlock()
{
    if (lockCount == 1) {
        SCardEndTransaction(card, SCARD_LEAVE_CARD);
    }
    if (lockCount > 0) {
        --lockCount;
    }
}

void ScardImpl::swap(Scard& other)
{
    auto* impl = dynamic_cast<ScardImpl*>(&other);
    if (impl == nullptr) {
        throw std::runtime_error("Cannot swap Scard: incompatible implementation type");
    }
    if (impl == this) {
        return;
    }
    context.swap(impl->context);
    std::swap(card, impl->card);
    std::swap(activeProtocol, impl->activeProtocol);
    std::swap(lockCount, impl->lockCount);
}

std::vector<std::uint8_t> ScardImpl::getHistBytes() const
{
    std::vector<std::uint8_t> atr(kMaxAtrSize, 0);
    DWORD atrSize = kMaxAtrSize;
    DWORD readerNameSize = 0;
    const LONG rc = SCardStatus(card, nullptr, &readerNameSize, nullptr, nullptr, atr.data(), &atrSize);
    if (rc != SCARD_S_SUCCESS) {
        return {};
    }
    atr.resize(std::min<DWORD>(atrSize, kMaxAtrSize));
    return historicalBytesOf(atr);
}

} // namespace qvfl
