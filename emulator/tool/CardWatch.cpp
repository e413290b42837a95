#include "CardWatch.h"

#include <PCSC/winscard.h>

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qvtoken::tool {

namespace {

using Clock = std::chrono::steady_clock;

// A card that cannot be asked yet (another client holds it exclusively, it is powering up or
// leaving) may change no reader state when it settles: look again after this.
constexpr std::chrono::milliseconds unsettledPause{50};

// The readers pcscd lists; none when it has no reader, nothing when it could not be asked.
std::optional<std::vector<std::string>> readerNames(SCARDCONTEXT context)
{
    DWORD length = 0;
    LONG rv = SCardListReaders(context, nullptr, nullptr, &length);
    if (rv == SCARD_E_NO_READERS_AVAILABLE || (rv == SCARD_S_SUCCESS && length == 0))
        return std::vector<std::string>{};
    if (rv != SCARD_S_SUCCESS)
        return std::nullopt;
    std::vector<char> buffer(length);
    rv = SCardListReaders(context, nullptr, buffer.data(), &length);
    if (rv == SCARD_E_NO_READERS_AVAILABLE)
        return std::vector<std::string>{};
    if (rv != SCARD_S_SUCCESS)
        return std::nullopt;
    std::vector<std::string> names;
    for (const char* name = buffer.data(); *name != '\0'; name += names.back().size() + 1)
        names.emplace_back(name);
    return names;
}

// `unclear`: the card could not be asked, or gave no full answer. A card that is leaving still
// shows as present until pcscd's next presence poll, and its answers then come back empty.
enum class Probe { holdsToken, otherToken, unclear };

Probe probe(SCARDCONTEXT context, const std::string& reader, std::uint64_t serial)
{
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    if (SCardConnect(context, reader.c_str(), SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card,
                     &protocol) != SCARD_S_SUCCESS)
        return Probe::unclear;
    const std::array<BYTE, 5> getSerial{0x00, 0xCA, 0x01, 0x81, 0x08};
    std::array<BYTE, 10> answer{};
    DWORD length = answer.size();
    const SCARD_IO_REQUEST* pci = protocol == SCARD_PROTOCOL_T0 ? SCARD_PCI_T0 : SCARD_PCI_T1;
    const LONG rv = SCardTransmit(card, pci, getSerial.data(), getSerial.size(), nullptr, answer.data(), &length);
    SCardDisconnect(card, SCARD_LEAVE_CARD);
    if (rv != SCARD_S_SUCCESS || length != answer.size() || answer[8] != 0x90 || answer[9] != 0x00)
        return Probe::unclear;
    std::uint64_t found = 0;
    for (std::size_t i = 0; i < 8; ++i)
        found = found << 8 | answer[i];
    return found == serial ? Probe::holdsToken : Probe::otherToken;
}

} // namespace

CardWatch::CardWatch()
{
    SCARDCONTEXT context = 0;
    const LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
    if (rv != SCARD_S_SUCCESS)
        throw std::runtime_error("pcscd is not reachable: " + std::string(pcsc_stringify_error(rv)));
    context_ = static_cast<unsigned long>(context);
}

CardWatch::~CardWatch()
{
    SCardReleaseContext(static_cast<SCARDCONTEXT>(context_));
}

bool CardWatch::waitUntil(std::uint64_t serial, bool present, Clock::time_point deadline)
{
    const auto context = static_cast<SCARDCONTEXT>(context_);
    std::vector<std::string> names;
    std::vector<SCARD_READERSTATE> states;
    for (;;) {
        // False while pcscd could not be asked: no reader view means nothing is known yet.
        bool seen = !states.empty();
        if (states.empty()) {
            const auto listed = readerNames(context);
            names = listed.value_or(std::vector<std::string>{});
            seen = listed.has_value();
            states.assign(names.size(), SCARD_READERSTATE{});
            for (std::size_t i = 0; i < names.size(); ++i) {
                states[i].szReader = names[i].c_str();
                states[i].dwCurrentState = SCARD_STATE_UNAWARE;
            }
            if (!states.empty() && SCardGetStatusChange(context, 0, states.data(), states.size()) != SCARD_S_SUCCESS) {
                states.clear();
                seen = false;
            }
        }
        // The token's card is gone when every reader is empty or holds a card that names another
        // token; a card that is coming or going (mute, no state yet, busy, no full answer) is
        // looked at again shortly.
        bool held = false;
        bool unsettled = !seen;
        for (const auto& state : states) {
            if ((state.dwEventState & SCARD_STATE_EMPTY) != 0)
                continue;
            if ((state.dwEventState & SCARD_STATE_PRESENT) == 0 || (state.dwEventState & SCARD_STATE_MUTE) != 0) {
                unsettled = true;
                continue;
            }
            const Probe result = probe(context, state.szReader, serial);
            held = held || result == Probe::holdsToken;
            unsettled = unsettled || result == Probe::unclear;
        }
        if (present ? held : !held && !unsettled)
            return true;
        const auto now = Clock::now();
        if (now >= deadline)
            return false;
        auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) + std::chrono::milliseconds(1);
        if (unsettled || states.empty())
            wait = std::min(wait, unsettledPause);
        if (states.empty()) {
            // No reader yet: there is no reader state to wait on until one appears.
            std::this_thread::sleep_for(wait);
            continue;
        }
        for (auto& state : states)
            state.dwCurrentState = state.dwEventState;
        const LONG rv = SCardGetStatusChange(context, static_cast<DWORD>(wait.count()), states.data(), states.size());
        if (rv != SCARD_S_SUCCESS && rv != SCARD_E_TIMEOUT)
            states.clear();
    }
}

} // namespace qvtoken::tool
