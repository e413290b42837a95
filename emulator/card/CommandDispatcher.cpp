#include "CommandDispatcher.h"

#include "ChangeReferenceDataCommand.h"
#include "CreateFileCommand.h"
#include "JournalCommand.h"
#include "RecordCommands.h"
#include "SectionCommands.h"
#include "SecurityCommands.h"
#include "SelectCommand.h"
#include "TokenInfoCommands.h"

namespace qvcard {
namespace {

constexpr std::uint8_t isoCla = 0x00;
constexpr std::uint8_t proprietaryCla = 0x80;
constexpr std::uint8_t chainingCla = 0x10;

Response route(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token, std::uint64_t serial)
{
    const std::uint8_t cla = apdu.cla();
    if (cla != isoCla && cla != proprietaryCla && cla != chainingCla) {
        throw CardRefusal(sw::unknownCla);
    }
    switch (apdu.ins()) {
    case 0x71:
    case 0x53:
    case 0x40:
        if (cla != proprietaryCla) {
            throw CardRefusal(sw::unknownCla);
        }
        if (apdu.ins() == 0x71) {
            return getExtendedInfo(apdu, token);
        }
        return apdu.ins() == 0x53 ? sectionCommand(apdu, session, token) : resetAccessRights(apdu, session);
    case 0xDA:
        if (cla != isoCla && cla != chainingCla) {
            throw CardRefusal(sw::unknownCla);
        }
        return putJournalData(apdu, session, token);
    default:
        break;
    }
    switch (apdu.ins()) {
    case 0xCA:
    case 0x20:
    case 0x2C:
    case 0xA4:
    case 0xE0:
    case 0x24:
    case 0xE2:
    case 0xDC:
    case 0x0C:
        if (cla != isoCla) {
            throw CardRefusal(sw::unknownCla);
        }
        break;
    default:
        throw CardRefusal(sw::unknownIns);
    }
    switch (apdu.ins()) {
    case 0xCA:
        return getSerial(apdu, serial);
    case 0x20:
        return verify(apdu, session, token);
    case 0x2C:
        return resetRetryCounter(apdu, session, token);
    case 0xA4:
        return select(apdu, session, token);
    case 0xE0:
        return createFile(apdu, session, token);
    case 0x24:
        return changeReferenceData(apdu, session, token);
    case 0xE2:
        return appendRecord(apdu, session, token);
    case 0xDC:
        return updateRecord(apdu, session, token);
    case 0x0C:
        return eraseRecord(apdu, session, token);
    default:
        throw CardRefusal(sw::unknownIns);
    }
}

} // namespace

Response dispatchCommand(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token,
                         std::uint64_t serial)
{
    // A journal chain lasts only while its chunks follow each other.
    if (apdu.ins() != 0xDA) {
        session.chainOpen = false;
        session.chainStream.clear();
    }
    try {
        return route(apdu, session, token, serial);
    } catch (const CardRefusal& refusal) {
        return Response{{}, refusal.sw()};
    }
}

} // namespace qvcard
