#include "RecordCommands.h"

namespace qvcard {
namespace {

constexpr std::uint8_t used = 0x01;
constexpr std::uint8_t empty = 0x03;
constexpr std::uint8_t recordNumberP2 = 0x04;
constexpr std::uint8_t fromNumberToLastP2 = 0x05;

qvtoken::MvaFile& currentMva(const CardSession& session, qvtoken::TokenState& token)
{
    if (!session.currentEf) {
        throw CardRefusal(sw::noCurrentEf);
    }
    qvtoken::MvaFile* mva = token.findMva(*session.currentEf);
    if (mva == nullptr) {
        throw CardRefusal(sw::fileNotFound);
    }
    if (!session.adminVerified) {
        throw CardRefusal(sw::noRight);
    }
    return *mva;
}

// Data field 80 02 00 L, A5 L, then the L record bytes; raw one-byte lengths.
Bytes recordField(const Bytes& data, const qvtoken::MvaFile& mva)
{
    if (data.size() < 7 || data[0] != 0x80 || data[1] != 0x02 || data[2] != 0x00 || data[4] != 0xA5 ||
        data[5] != data[3] || data.size() != 6u + data[3]) {
        throw CardRefusal(sw::invalidData);
    }
    if (data[3] > mva.recordSize) {
        throw CardRefusal(sw::wrongLength);
    }
    return Bytes(data.begin() + 6, data.end());
}

} // namespace

Response appendRecord(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x00 || apdu.p2() != 0x00 || !apdu.hasLc()) {
        throw CardRefusal(sw::badP1P2);
    }
    qvtoken::MvaFile& mva = currentMva(session, token);
    Bytes record = recordField(apdu.data(), mva);
    if (mva.records.size() >= mva.maxRecords) {
        throw CardRefusal(sw::noSpaceForRecord);
    }
    mva.records.push_back({used, std::move(record)});
    return Response{};
}

Response updateRecord(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p2() != recordNumberP2 || !apdu.hasLc()) {
        throw CardRefusal(sw::badP1P2);
    }
    qvtoken::MvaFile& mva = currentMva(session, token);
    if (apdu.p1() < 1 || apdu.p1() > mva.records.size()) {
        throw CardRefusal(sw::recordNotFound);
    }
    Bytes record = recordField(apdu.data(), mva);
    mva.records[apdu.p1() - 1u] = {used, std::move(record)};
    return Response{};
}

Response eraseRecord(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    if ((apdu.p2() != recordNumberP2 && apdu.p2() != fromNumberToLastP2) || apdu.hasLc() || apdu.le()) {
        throw CardRefusal(sw::badP1P2);
    }
    qvtoken::MvaFile& mva = currentMva(session, token);
    if (apdu.p1() < 1 || apdu.p1() > mva.records.size()) {
        throw CardRefusal(sw::recordNotFound);
    }
    const std::size_t last = apdu.p2() == fromNumberToLastP2 ? mva.records.size() : apdu.p1();
    for (std::size_t n = apdu.p1(); n <= last; ++n) {
        mva.records[n - 1] = {empty, {}};
    }
    return Response{};
}

} // namespace qvcard
