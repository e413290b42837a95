#include <qvflash-core/apdu/LocalLoginApdu.h>

#include <qvflash-core/login/localReference.h>

#include <optional>

namespace qvfl {
namespace {

constexpr std::uint8_t kClass = 0x00;
constexpr std::uint8_t kCreateFile = 0xE0;
constexpr std::uint8_t kChangeReferenceData = 0x24;
constexpr std::uint8_t kNewReferenceDataOnly = 0x01;
constexpr std::uint8_t kCurrentFile = 0x00;
constexpr std::uint8_t kLengthTag = 0x80;
constexpr std::uint8_t kLengthSize = 0x02;
constexpr std::uint8_t kPinTag = 0xA6;

std::vector<std::uint8_t> pinDataField(const std::vector<std::uint8_t>& pin) {
    const std::size_t length = pin.size();
    std::vector<std::uint8_t> field{kLengthTag,
                                    kLengthSize,
                                    static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length),
                                    kPinTag,
                                    static_cast<std::uint8_t>(length)};
    field.insert(field.end(), pin.begin(), pin.end());
    return field;
}

} // namespace

ApduCreateFile::ApduCreateFile(const std::vector<std::uint8_t>& fcpTemplate)
    : Apdu(kClass, kCreateFile, 0x00, 0x00, fcpTemplate, std::nullopt) {}

ChangeReferenceData::ChangeReferenceData(const std::vector<std::uint8_t>& newPin)
    : Apdu(kClass, kChangeReferenceData, kNewReferenceDataOnly, kCurrentFile, pinDataField(newPin),
           std::nullopt) {}

} // namespace qvfl

namespace qvfl::ApduCommand {

UnblockLchvRsf::UnblockLchvRsf(std::uint16_t id) : ResetRetryCounter(localReference(id)) {}

} // namespace qvfl::ApduCommand
