#include "SectionCommands.h"

#include "SectionCodec.h"
#include "TokenInfoCommands.h"

#include <algorithm>

namespace qvcard {
namespace {

constexpr std::size_t maxSections = 8;
constexpr unsigned long minJournalSize = 500;
constexpr std::uint8_t forbidden = 0xFF;
// Operation 2 (mask bit 1) writes journal records; a journal allows nothing else.
constexpr unsigned journalOperation = 1;

bool isJournal(const qvtoken::Section& section)
{
    return section.type == 1 || section.type == 2;
}

Response getSections(const CommandApdu& apdu, const qvtoken::TokenState& token)
{
    if (apdu.hasLc()) {
        throw CardRefusal(sw::wrongLength);
    }
    Response response;
    for (const auto& section : token.drive.sections) {
        const Bytes tlv = encodeSection(token, section);
        response.data.insert(response.data.end(), tlv.begin(), tlv.end());
    }
    return response;
}

bool journalRulesHold(const qvtoken::Section& section)
{
    if (section.size < minJournalSize || section.access != 0) {
        return false;
    }
    if (section.operationMask != 0x3F && section.operationMask != 0x3D) {
        return false;
    }
    for (unsigned op = 0; op < 6; ++op) {
        const bool present = (section.operationMask >> op) & 1;
        const bool isForbidden = section.conditions[op] == forbidden;
        if (op == journalOperation ? (present && isForbidden) : !isForbidden) {
            return false;
        }
    }
    return true;
}

Response split(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    if (!session.adminVerified) {
        throw CardRefusal(sw::noRight);
    }
    const Bytes& data = apdu.data();
    if (apdu.p2() != 0x00 || data.empty() || data.size() % sectionTlvSize != 0) {
        throw CardRefusal(sw::invalidData);
    }
    const auto& current = token.drive.sections;
    const std::size_t count = data.size() / sectionTlvSize;
    const auto kept = static_cast<std::size_t>(
        std::count_if(current.begin(), current.end(), [](const auto& s) { return s.type != 0; }));
    if (count + kept > maxSections) {
        throw CardRefusal(sw::invalidData);
    }
    bool hasJournal = std::any_of(current.begin(), current.end(), [](const auto& s) { return s.type == 1; });
    unsigned long total = 0;
    for (const auto& section : current) {
        if (section.type != 0) {
            total += section.size;
        }
    }
    std::vector<qvtoken::Section> sections;
    for (std::size_t i = 0; i < count; ++i) {
        auto section = decodeSection(data.data() + i * sectionTlvSize);
        if (!section || section->number != i + 1 || section->size == 0) {
            throw CardRefusal(sw::invalidData);
        }
        if (section->type == 1) {
            if (hasJournal || !journalRulesHold(*section)) {
                throw CardRefusal(sw::invalidData);
            }
            hasJournal = true;
        }
        total += section->size;
        sections.push_back(std::move(*section));
    }
    if (total > token.drive.sizeMb) {
        throw CardRefusal(sw::noMemory);
    }
    token.drive.replaceUserSections(std::move(sections));
    return Response{};
}

// Which of the six protected operations a change is: 0 to hidden, 1 temporary read-only,
// 2 temporary read/write, 3 permanent read-only, 4 permanent read/write, 5 permanent CD-ROM.
unsigned changeOperation(bool temporary, unsigned state)
{
    switch (state) {
    case 0:
        return 0;
    case 1:
        return temporary ? 1 : 3;
    case 3:
        return temporary ? 2 : 4;
    default:
        return 5;
    }
}

// Role part (admin or user as the condition names them) AND secret part (the local PIN or MVA
// named by the secret byte). Complex rules and keys are never met on this card.
bool operationAllowed(const qvtoken::Section& section, unsigned op, const CardSession& session)
{
    if (((section.operationMask >> op) & 1) == 0) {
        return true;
    }
    const std::uint8_t condition = section.conditions[op];
    const std::uint8_t secret = section.secrets[op];
    if (condition == forbidden) {
        return false;
    }
    const bool role = (condition & 0x03) == 0 || ((condition & 0x01) && session.adminVerified) ||
                      ((condition & 0x02) && session.userVerified);
    if ((condition & 0x08) != 0) {
        return false;
    }
    const bool secretMet =
        (condition & 0x04) == 0 || ((secret & 0x80) == 0 && session.localVerified.count(secret & 0x7F) != 0);
    return role && secretMet;
}

Response changeAccess(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    const Bytes& data = apdu.data();
    const bool temporary = apdu.p2() == 0x01;
    if (apdu.p2() != 0x01 && apdu.p2() != 0x02) {
        throw CardRefusal(sw::badP1P2);
    }
    if (data.size() != 4 || data[0] != 0x82 || data[1] != 0x02) {
        throw CardRefusal(sw::invalidData);
    }
    const unsigned number = data[2];
    const unsigned state = data[3];
    const auto& sections = token.drive.sections;
    qvtoken::Section* section = token.drive.findSection(number);
    if (section == nullptr) {
        throw CardRefusal(sw::referenceNotFound);
    }
    if (state != 0 && state != 1 && state != 3 && state != 5) {
        throw CardRefusal(sw::invalidData);
    }
    if (temporary && state == 5) {
        throw CardRefusal(sw::badP1P2);
    }
    if (isJournal(*section)) {
        // A journal may only be shown read-only for a while, and not while an encrypted
        // section is open, whose reader could then also read the journal.
        const bool encryptedOpen = std::any_of(sections.begin(), sections.end(), [&](const auto& s) {
            const unsigned access = token.drive.currentAccess(s);
            return s.type == 3 && (access == 1 || access == 3);
        });
        if (!temporary || state != 1 || encryptedOpen) {
            throw CardRefusal(sw::conditions);
        }
    }
    if (!operationAllowed(*section, changeOperation(temporary, state), session)) {
        throw CardRefusal(sw::noRight);
    }
    token.drive.setAccess(*section, state, temporary);
    return Response{};
}

Response resetToken(const CommandApdu& apdu)
{
    if (apdu.p2() != 0x00 || apdu.hasLc() || apdu.le()) {
        throw CardRefusal(sw::badP1P2);
    }
    Response response;
    response.leaveBus = true;
    return response;
}

} // namespace

Response sectionCommand(const CommandApdu& apdu, const CardSession& session, qvtoken::TokenState& token)
{
    // A token without a flash drive knows no command of its sections; it still restarts.
    if (!token.drive.present && apdu.p1() != 0x14) {
        throw CardRefusal(sw::unknownIns);
    }
    switch (apdu.p1()) {
    case 0x10:
        return split(apdu, session, token);
    case 0x11:
        return apdu.p2() == 0x00 ? getSections(apdu, token) : changeAccess(apdu, session, token);
    case 0x12:
        return countTotalFlash(apdu, token);
    case 0x14:
        return resetToken(apdu);
    default:
        throw CardRefusal(sw::badP1P2);
    }
}

} // namespace qvcard
