#include <qvflash-core/pcsc/exchangeApdu.h>

#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/utils/wipeBytes.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kWrongLength = 0x6C; // SW2: the exact length to ask for
constexpr std::uint8_t kMoreData = 0x61;    // SW2: bytes waiting for GET RESPONSE
constexpr unsigned kCaseDataAndLe = 3;
constexpr char kExchangeFunction[] =
    "std::pair<uint16_t, std::vector<uint8_t>> qvfl::exchangeApdu(const Apdu &, bool, const RawTransmit &)";

// SW2 counts bytes, 00 meaning 256; two more for the status word.
std::size_t bufferFor(std::uint8_t sw2)
{
    return (sw2 == 0 ? 256U : sw2) + 2U;
}

std::uint8_t sw1(std::uint16_t statusWord)
{
    return static_cast<std::uint8_t>(statusWord >> 8);
}

std::uint8_t sw2(std::uint16_t statusWord)
{
    return static_cast<std::uint8_t>(statusWord & 0xFF);
}

} // namespace

std::uint16_t cutApduRetcode(std::vector<std::uint8_t>& response)
{
    if (response.size() < 2) {
        throw PcscException(SCARD_E_UNEXPECTED, __FILE__, "uint16_t qvfl::cutApduRetcode(std::vector<uint8_t> &)",
                            __LINE__);
    }
    const auto statusWord = static_cast<std::uint16_t>((response[response.size() - 2] << 8) | response.back());
    response.resize(response.size() - 2);
    return statusWord;
}

Scard::Response exchangeApdu(const Apdu& apdu, bool t0, const RawTransmit& transmitRaw)
{
    std::vector<std::uint8_t> command = apdu.toBuffer();
    // The command may carry a secret (VERIFY): no copy of it outlives the exchange.
    const ScopedWipe wipe(command);
    bool endsWithLe = apdu.le().has_value();
    // ISO 7816-3: a T=0 command carries either data or Le; the answer to a
    // command with data comes through 61xx and GET RESPONSE.
    if (t0 && apdu.getApduCase() == kCaseDataAndLe) {
        command.pop_back();
        endsWithLe = false;
    }

    std::vector<std::uint8_t> response(apdu.getReceiveBufferSize(), 0);
    transmitRaw(command, response);
    std::uint16_t statusWord = cutApduRetcode(response);

    // Only an Le can be corrected: in any other command the last byte is data
    // or P2, and resending it changed would send another command (a VERIFY
    // with another secret burns a retry). Then 6Cxx is the answer.
    if (sw1(statusWord) == kWrongLength && endsWithLe) {
        response.assign(bufferFor(sw2(statusWord)), 0);
        command.back() = sw2(statusWord);
        transmitRaw(command, response);
        statusWord = cutApduRetcode(response);
    }

    // The caller holds the library lock and the card's transaction all the while: a card that
    // keeps announcing more data is cut off by rounds as well as by bytes, so one that sends
    // little or nothing per round cannot hold everyone up for long.
    for (std::size_t rounds = 0; sw1(statusWord) == kMoreData; ++rounds) {
        if (rounds == kMaxGetResponseRounds) {
            throw PcscException(SCARD_E_INSUFFICIENT_BUFFER, __FILE__, kExchangeFunction, __LINE__);
        }
        const std::vector<std::uint8_t> getResponse{0x00, 0xC0, 0x00, 0x00, sw2(statusWord)};
        std::vector<std::uint8_t> part(bufferFor(sw2(statusWord)), 0);
        transmitRaw(getResponse, part);
        statusWord = cutApduRetcode(part);
        if (part.empty() && sw1(statusWord) == kMoreData) {
            // Announced data that never comes: asking again would bring nothing either.
            throw PcscException(SCARD_E_UNEXPECTED, __FILE__, kExchangeFunction, __LINE__);
        }
        if (response.size() + part.size() > kMaxResponseSize) {
            throw PcscException(SCARD_E_INSUFFICIENT_BUFFER, __FILE__, kExchangeFunction, __LINE__);
        }
        response.insert(response.end(), part.begin(), part.end());
    }
    return {statusWord, std::move(response)};
}

} // namespace qvfl
