#include "JournalCommand.h"

#include <algorithm>

namespace qvcard {
namespace {

constexpr std::uint8_t chainingCla = 0x10;

void appendPiece(const Bytes& data, std::size_t offset, CardSession& session)
{
    if (data.size() < offset + 2 || data[offset] != 0xA5 || data.size() != offset + 2 + data[offset + 1]) {
        throw CardRefusal(sw::invalidData);
    }
    session.chainStream.insert(session.chainStream.end(), data.begin() + static_cast<std::ptrdiff_t>(offset + 2),
                               data.end());
}

std::optional<qvtoken::JournalRecord> parseStream(const Bytes& stream)
{
    std::string* texts[4];
    qvtoken::JournalRecord record;
    texts[0] = &record.user;
    texts[1] = &record.domain;
    texts[2] = &record.os;
    texts[3] = &record.device;
    std::size_t pos = 0;
    for (std::uint8_t tag = 0xC1; tag <= 0xC5; ++tag) {
        if (stream.size() - pos < 2 || stream[pos] != tag) {
            return std::nullopt;
        }
        const std::size_t length = stream[pos + 1];
        pos += 2;
        if (length == 0 || stream.size() - pos < length || (tag == 0xC5 && length != 8)) {
            return std::nullopt;
        }
        if (tag == 0xC5) {
            std::uint64_t time = 0;
            for (std::size_t i = 0; i < 8; ++i) {
                time = time << 8 | stream[pos + i];
            }
            record.time = static_cast<std::int64_t>(time);
        } else {
            texts[tag - 0xC1]->assign(stream.begin() + static_cast<std::ptrdiff_t>(pos),
                                      stream.begin() + static_cast<std::ptrdiff_t>(pos + length));
        }
        pos += length;
    }
    if (pos != stream.size()) {
        return std::nullopt;
    }
    record.raw = stream;
    return record;
}

void discardChain(CardSession& session)
{
    session.chainOpen = false;
    session.chainStream.clear();
    session.chainTotal = 0;
}

} // namespace

Response putJournalData(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x01 || apdu.p2() != 0x7C || !apdu.hasLc() || apdu.le()) {
        discardChain(session);
        throw CardRefusal(sw::badP1P2);
    }
    const auto& sections = token.drive.sections;
    if (std::none_of(sections.begin(), sections.end(), [](const auto& s) { return s.type == 1; })) {
        discardChain(session);
        throw CardRefusal(sw::conditions);
    }
    const Bytes& data = apdu.data();
    const bool first = data.size() >= 2 && data[0] == 0x80 && data[1] == 0x02;
    try {
        if (first) {
            if (session.chainOpen || data.size() < 4) {
                throw CardRefusal(sw::invalidData);
            }
            session.chainOpen = true;
            session.chainStream.clear();
            session.chainTotal = static_cast<std::size_t>(data[2] << 8 | data[3]);
            appendPiece(data, 4, session);
        } else {
            if (!session.chainOpen) {
                throw CardRefusal(sw::chainBroken);
            }
            appendPiece(data, 0, session);
        }
    } catch (const CardRefusal&) {
        discardChain(session);
        throw;
    }
    if (apdu.cla() == chainingCla) {
        return Response{};
    }
    const Bytes stream = session.chainStream;
    const std::size_t total = session.chainTotal;
    discardChain(session);
    auto record = stream.size() == total ? parseStream(stream) : std::nullopt;
    if (!record) {
        throw CardRefusal(sw::invalidData);
    }
    auto& journal = token.card.journal;
    journal.push_back(std::move(*record));
    const unsigned long cap = token.card.journalCap;
    if (cap != 0 && journal.size() > cap) {
        journal.erase(journal.begin(), journal.begin() + static_cast<std::ptrdiff_t>(journal.size() - cap));
    }
    return Response{};
}

} // namespace qvcard
