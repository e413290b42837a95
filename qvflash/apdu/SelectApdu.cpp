#include <qvflash-core/apdu/SelectApdu.h>

#include <qvflash-core/apdu/bigEndian.h>

namespace qvfl::ApduCommand {
namespace {

constexpr std::uint8_t kClass = 0x00;
constexpr std::uint8_t kSelect = 0xA4;
constexpr std::uint8_t kWholeAnswer = 0x00; // Le 00: up to 256 bytes

// ISO 7816-4 SELECT: P1 08 selects by path from the MF, P1 00 by file id;
// P2 04 returns the FCP of the first occurrence, P2 06 of the next one.
constexpr std::uint8_t kByPathFromMf = 0x08;
constexpr std::uint8_t kByFileId = 0x00;
constexpr std::uint8_t kFcpFirst = 0x04;
constexpr std::uint8_t kFcpNext = 0x06;

} // namespace

SelectApdu::SelectApdu(std::uint8_t p1, std::uint8_t p2, const std::optional<std::vector<std::uint8_t>>& data)
    : Apdu(kClass, kSelect, p1, p2, data, kWholeAnswer)
{
}

SelectByFullPath::SelectByFullPath(const std::vector<std::uint16_t>& path)
    : SelectApdu(kByPathFromMf, kFcpFirst, toBufferBe(path))
{
}

SelectFirstFileApdu::SelectFirstFileApdu() : SelectApdu(kByFileId, kFcpFirst, std::nullopt) {}

SelectNextFileApdu::SelectNextFileApdu(std::uint16_t fileId)
    : SelectApdu(kByFileId, kFcpNext, toBufferBe(std::vector<std::uint16_t>{fileId}))
{
}

} // namespace qvfl::ApduCommand
