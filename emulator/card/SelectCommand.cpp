#include "SelectCommand.h"

#include "Fcp.h"

namespace qvcard {
namespace {

constexpr std::uint8_t byPath = 0x08;
constexpr std::uint8_t returnFcp = 0x04;
constexpr std::uint8_t nextWithFcp = 0x06;
// Below the MF the path is fixed: 1000 / 1000 / 6005, then the directory's files.
constexpr std::uint16_t dfPath[] = {0x1000, 0x1000, 0x6005};

std::uint16_t idAt(const Bytes& data, std::size_t index)
{
    return static_cast<std::uint16_t>(data[2 * index] << 8 | data[2 * index + 1]);
}

const qvtoken::DirectoryEntry* findEntry(const qvtoken::TokenState& token, unsigned long id)
{
    for (const auto& entry : token.directory) {
        if (qvtoken::entryId(entry) == id) {
            return &entry;
        }
    }
    return nullptr;
}

Response selectEntry(CardSession& session, const qvtoken::DirectoryEntry& entry)
{
    session.currentDf = CardSession::Df::logins;
    session.currentEf = qvtoken::entryId(entry);
    return Response{entryFcp(entry)};
}

Response selectPath(const Bytes& path, CardSession& session, const qvtoken::TokenState& token)
{
    if (path.empty() || path.size() % 2 != 0 || path.size() > 8) {
        throw CardRefusal(sw::fileNotFound);
    }
    const std::size_t depth = path.size() / 2;
    for (std::size_t i = 0; i < depth && i < 3; ++i) {
        if (idAt(path, i) != dfPath[i]) {
            throw CardRefusal(sw::fileNotFound);
        }
    }
    if (depth == 4) {
        const qvtoken::DirectoryEntry* entry = findEntry(token, idAt(path, 3));
        if (entry == nullptr) {
            throw CardRefusal(sw::fileNotFound);
        }
        return selectEntry(session, *entry);
    }
    session.currentDf = static_cast<CardSession::Df>(depth);
    session.currentEf.reset();
    return Response{dedicatedFileFcp(dfPath[depth - 1])};
}

Response selectFirst(CardSession& session, const qvtoken::TokenState& token)
{
    if (session.currentDf != CardSession::Df::logins || token.directory.empty()) {
        throw CardRefusal(sw::fileNotFound);
    }
    return selectEntry(session, token.directory.front());
}

Response selectNext(const Bytes& data, CardSession& session, const qvtoken::TokenState& token)
{
    if (data.size() != 2) {
        throw CardRefusal(sw::wrongLength);
    }
    if (session.currentDf != CardSession::Df::logins) {
        throw CardRefusal(sw::fileNotFound);
    }
    const unsigned long id = idAt(data, 0);
    const auto& directory = token.directory;
    for (std::size_t i = 0; i + 1 < directory.size(); ++i) {
        if (qvtoken::entryId(directory[i]) == id) {
            return selectEntry(session, directory[i + 1]);
        }
    }
    throw CardRefusal(sw::fileNotFound);
}

} // namespace

Response select(const CommandApdu& apdu, CardSession& session, const qvtoken::TokenState& token)
{
    if (apdu.p1() == byPath && apdu.p2() == returnFcp && apdu.hasLc()) {
        return selectPath(apdu.data(), session, token);
    }
    if (apdu.p1() == 0x00 && apdu.p2() == returnFcp && !apdu.hasLc()) {
        return selectFirst(session, token);
    }
    if (apdu.p1() == 0x00 && apdu.p2() == nextWithFcp && apdu.hasLc()) {
        return selectNext(apdu.data(), session, token);
    }
    throw CardRefusal(sw::badP1P2);
}

} // namespace qvcard
