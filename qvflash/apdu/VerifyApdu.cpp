#include <qvflash-core/apdu/VerifyApdu.h>

#include <optional>

namespace qvfl::ApduCommand {

Verify::Verify(unsigned char p2, const std::vector<std::uint8_t>& data) : Apdu(0x00, 0x20, 0x00, p2, data, std::nullopt)
{
}

ResetAccessRights::ResetAccessRights() : Apdu(0x80, 0x40, 0x00, 0x00, std::nullopt, std::nullopt) {}

} // namespace qvfl::ApduCommand
