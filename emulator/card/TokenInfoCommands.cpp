#include "TokenInfoCommands.h"

namespace qvcard {

Response getSerial(const CommandApdu& apdu, std::uint64_t serial)
{
    if (apdu.p1() != 0x01 || apdu.p2() != 0x81 || apdu.hasLc()) {
        throw CardRefusal(sw::referenceNotFound);
    }
    Response response;
    for (int shift = 56; shift >= 0; shift -= 8) {
        response.data.push_back(static_cast<std::uint8_t>(serial >> shift));
    }
    return response;
}

Response getExtendedInfo(const CommandApdu& apdu, const qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x00 || apdu.p2() != 0x00 || apdu.hasLc()) {
        throw CardRefusal(sw::badP1P2);
    }
    if (!token.card.extInfo) {
        throw CardRefusal(sw::unknownIns);
    }
    return Response{*token.card.extInfo};
}

Response countTotalFlash(const CommandApdu& apdu, const qvtoken::TokenState& token)
{
    if (apdu.p2() != 0x00 || apdu.hasLc()) {
        throw CardRefusal(sw::badP1P2);
    }
    const std::uint32_t total = token.drive.sizeMb;
    return Response{{static_cast<std::uint8_t>(total >> 24), static_cast<std::uint8_t>(total >> 16),
                     static_cast<std::uint8_t>(total >> 8), static_cast<std::uint8_t>(total)}};
}

} // namespace qvcard
