#include <qvflash-core/apdu/LocalLoginApdu.h>

#include <qvflash-core/apdu/lengthTaggedField.h>
#include <qvflash-core/apdu/localReference.h>

#include <optional>

namespace qvfl {
namespace {

constexpr std::uint8_t kClass = 0x00;
constexpr std::uint8_t kCreateFile = 0xE0;
constexpr std::uint8_t kChangeReferenceData = 0x24;
constexpr std::uint8_t kNewReferenceDataOnly = 0x01;
constexpr std::uint8_t kCurrentFile = 0x00;
constexpr std::uint8_t kPinTag = 0xA6;

} // namespace

ApduCreateFile::ApduCreateFile(const std::vector<std::uint8_t>& fcpTemplate)
    : Apdu(kClass, kCreateFile, 0x00, 0x00, fcpTemplate, std::nullopt)
{
}

ChangeReferenceData::ChangeReferenceData(const std::vector<std::uint8_t>& newPin)
    : Apdu(kClass, kChangeReferenceData, kNewReferenceDataOnly, kCurrentFile, lengthTaggedField(kPinTag, newPin),
           std::nullopt)
{
}

} // namespace qvfl

namespace qvfl::ApduCommand {

UnblockLchvRsf::UnblockLchvRsf(std::uint16_t id) : ResetRetryCounter(localReference(id)) {}

} // namespace qvfl::ApduCommand
