#include "SecurityCommands.h"

#include <algorithm>

namespace qvcard {
namespace {

constexpr std::uint8_t adminReference = 0x01;
constexpr std::uint8_t userReference = 0x02;

// The counter of whatever the reference names, seen uniformly.
struct Counter {
    unsigned long* triesLeft;
    unsigned long maxTries;
};

std::optional<unsigned long> localId(std::uint8_t reference)
{
    const unsigned long id = reference & 0x7F;
    if ((reference & 0x80) == 0 || id < qvtoken::firstLocalId || id > qvtoken::lastLocalId) {
        return std::nullopt;
    }
    return id;
}

// A local PIN still waiting for its first value has nothing to check against yet.
qvtoken::DirectoryEntry* findLocal(qvtoken::TokenState& token, std::uint8_t reference)
{
    const auto id = localId(reference);
    if (!id) {
        return nullptr;
    }
    for (auto& entry : token.directory) {
        if (qvtoken::entryId(entry) != *id) {
            continue;
        }
        if (auto* pin = std::get_if<qvtoken::LocalPin>(&entry); pin && pin->unset) {
            return nullptr;
        }
        return std::holds_alternative<qvtoken::OtherEntry>(entry) ? nullptr : &entry;
    }
    return nullptr;
}

Counter counterOf(qvtoken::TokenState& token, std::uint8_t reference)
{
    if (reference == adminReference) {
        return {&token.adminPin.triesLeft, token.adminPin.maxTries};
    }
    if (reference == userReference) {
        return {&token.userPin.triesLeft, token.userPin.maxTries};
    }
    qvtoken::DirectoryEntry* entry = findLocal(token, reference);
    if (entry == nullptr) {
        throw CardRefusal(sw::referenceNotFound);
    }
    if (auto* pin = std::get_if<qvtoken::LocalPin>(entry)) {
        return {&pin->pin.triesLeft, pin->pin.maxTries};
    }
    auto& mva = std::get<qvtoken::MvaFile>(*entry);
    return {&mva.triesLeft, mva.maxTries};
}

// An MVA secret is the host's record: it matches when it equals any used record exactly.
bool mvaMatches(const qvtoken::MvaFile& mva, const Bytes& secret)
{
    return std::any_of(mva.records.begin(), mva.records.end(),
                       [&](const auto& record) { return record.status == 0x01 && record.data == secret; });
}

bool secretMatches(qvtoken::TokenState& token, std::uint8_t reference, const Bytes& secret)
{
    const qvtoken::PinState* pin = nullptr;
    if (reference == adminReference) {
        pin = &token.adminPin;
    } else if (reference == userReference) {
        pin = &token.userPin;
    } else {
        qvtoken::DirectoryEntry* entry = findLocal(token, reference);
        if (const auto* mva = std::get_if<qvtoken::MvaFile>(entry)) {
            return mvaMatches(*mva, secret);
        }
        pin = &std::get<qvtoken::LocalPin>(*entry).pin;
    }
    return pin->value == secret;
}

void grant(CardSession& session, std::uint8_t reference)
{
    if (reference == adminReference) {
        session.adminVerified = true;
    } else if (reference == userReference) {
        session.userVerified = true;
    } else {
        session.localVerified.insert(reference & 0x7F);
    }
}

std::uint16_t triesWord(unsigned long triesLeft)
{
    return static_cast<std::uint16_t>(sw::triesLeft | (triesLeft & 0x0F));
}

} // namespace

Response verify(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x00) {
        throw CardRefusal(sw::badP1P2);
    }
    // "00 20 00 P2 00" is the attempts query (Lc present and zero), not a case-2 command.
    const bool query = !apdu.hasLc() && (!apdu.le() || *apdu.le() == 0);
    if (!query && (!apdu.hasLc() || apdu.le())) {
        throw CardRefusal(sw::wrongLength);
    }
    const std::uint8_t reference = apdu.p2();
    const Counter counter = counterOf(token, reference);
    if (*counter.triesLeft == 0) {
        throw CardRefusal(sw::blocked);
    }
    if (query) {
        throw CardRefusal(triesWord(*counter.triesLeft));
    }
    if (!secretMatches(token, reference, apdu.data())) {
        --*counter.triesLeft;
        throw CardRefusal(triesWord(*counter.triesLeft));
    }
    *counter.triesLeft = counter.maxTries;
    grant(session, reference);
    return Response{};
}

Response resetRetryCounter(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x03 || apdu.hasLc() || apdu.le()) {
        throw CardRefusal(sw::badP1P2);
    }
    if (apdu.p2() == adminReference) {
        // The admin PIN is unblocked on the other road only.
        throw CardRefusal(sw::referenceNotFound);
    }
    const Counter counter = counterOf(token, apdu.p2());
    if (!session.adminVerified) {
        throw CardRefusal(sw::noRight);
    }
    *counter.triesLeft = counter.maxTries;
    return Response{};
}

Response resetAccessRights(const CommandApdu& apdu, CardSession& session)
{
    if (apdu.p1() != 0x00 || apdu.p2() != 0x00) {
        throw CardRefusal(sw::badP1P2);
    }
    session.dropRights();
    return Response{};
}

} // namespace qvcard
