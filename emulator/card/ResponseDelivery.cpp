#include "ResponseDelivery.h"

#include <algorithm>

namespace qvcard {
namespace {

constexpr std::size_t shortMax = 256;

void appendSw(Bytes& out, std::uint16_t statusWord)
{
    out.push_back(static_cast<std::uint8_t>(statusWord >> 8));
    out.push_back(static_cast<std::uint8_t>(statusWord));
}

std::size_t announceLimit(const DeliveryMode& mode)
{
    return mode.chunk != 0 ? std::min(mode.chunk, shortMax) : shortMax;
}

// Sends `count` bytes from the front of the waiting data, then 61xx or the final status word.
Bytes sendPart(std::size_t count, const DeliveryMode& mode, CardSession& session)
{
    Bytes out(session.pending.begin(), session.pending.begin() + static_cast<std::ptrdiff_t>(count));
    session.pending.erase(session.pending.begin(), session.pending.begin() + static_cast<std::ptrdiff_t>(count));
    if (session.pending.empty()) {
        session.hasPending = false;
        appendSw(out, session.pendingSw);
    } else {
        // 61 00 announces 256 or more.
        const std::size_t next = std::min(session.pending.size(), announceLimit(mode));
        out.push_back(0x61);
        out.push_back(static_cast<std::uint8_t>(next & 0xFF));
    }
    return out;
}

} // namespace

Bytes deliver(const CommandApdu& apdu, const Response& response, const DeliveryMode& mode, CardSession& session)
{
    Bytes out;
    const std::size_t size = response.data.size();
    if (size == 0) {
        appendSw(out, response.sw);
        return out;
    }
    session.pending = response.data;
    session.pendingSw = response.sw;
    session.hasPending = true;
    if (mode.t0 && apdu.hasLc()) {
        return sendPart(0, mode, session);
    }
    if (mode.t0 && apdu.le() && apdu.expected() != size && size <= shortMax) {
        session.pending.clear();
        session.hasPending = false;
        out.push_back(0x6C);
        out.push_back(static_cast<std::uint8_t>(size & 0xFF));
        return out;
    }
    const std::size_t capacity = apdu.le() ? apdu.expected() : 0;
    return sendPart(std::min({size, capacity, announceLimit(mode)}), mode, session);
}

Bytes getResponse(const Bytes& raw, const DeliveryMode& mode, CardSession& session)
{
    Bytes out;
    if (raw.size() != 5 || raw[2] != 0x00 || raw[3] != 0x00) {
        session.pending.clear();
        session.hasPending = false;
        appendSw(out, raw.size() < 5 ? sw::wrongLength : sw::badP1P2);
        return out;
    }
    if (!session.hasPending) {
        appendSw(out, sw::conditions);
        return out;
    }
    const std::size_t asked = raw[4] == 0 ? shortMax : raw[4];
    return sendPart(std::min(asked, session.pending.size()), mode, session);
}

} // namespace qvcard
