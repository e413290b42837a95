#include <qvflash-core/apdu/TokenApdu.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kIsoClass = 0x00;
constexpr std::uint8_t kProprietaryClass = 0x80;
constexpr std::uint8_t kUserPinReference = 0x02;

} // namespace

GetDataApdu::GetDataApdu(std::uint8_t p1, std::uint8_t p2, std::uint8_t le)
    : Apdu(kIsoClass, 0xCA, p1, p2, std::nullopt, le)
{
}

GetTokenSerial::GetTokenSerial() : GetDataApdu(0x01, 0x81, 0x08) {}

PerformSectionsActionApdu::PerformSectionsActionApdu(std::uint8_t p1, std::uint8_t p2,
                                                     const std::optional<std::vector<std::uint8_t>>& data,
                                                     const std::optional<std::uint8_t>& le)
    : Apdu(kProprietaryClass, 0x53, p1, p2, data, le)
{
}

CountTotalFlashMemory::CountTotalFlashMemory() : PerformSectionsActionApdu(0x12, 0x00, std::nullopt, 0x04) {}

GetExtendedTokenInfoApdu::GetExtendedTokenInfoApdu() : Apdu(kProprietaryClass, 0x71, 0x00, 0x00, std::nullopt, 0x00) {}

} // namespace qvfl

namespace qvfl::ApduCommand {

ResetRetryCounter::ResetRetryCounter(std::uint8_t p2) : Apdu(kIsoClass, 0x2C, 0x03, p2, std::nullopt, std::nullopt) {}

UnblockUserPin::UnblockUserPin() : ResetRetryCounter(kUserPinReference) {}

} // namespace qvfl::ApduCommand
