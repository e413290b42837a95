#include <qvflash-core/apdu/SectionApdu.h>

#include <optional>

namespace qvfl {
namespace {

constexpr std::uint8_t kSplit = 0x10;
constexpr std::uint8_t kAttributes = 0x11; // read (P2 00) or change (P2 01, 02)
constexpr std::uint8_t kRead = 0x00;
constexpr std::uint8_t kTemporary = 0x01;
constexpr std::uint8_t kPermanent = 0x02;
constexpr std::uint8_t kAccessRightsTag = 0x82;
constexpr std::uint8_t kAccessRightsSize = 0x02;
constexpr std::uint8_t kWholeAnswer = 0x00;

constexpr std::uint8_t kProprietaryClass = 0x80;
constexpr std::uint8_t kFlashCommand = 0x53;
constexpr std::uint8_t kReset = 0x14;

constexpr std::uint8_t kPutData = 0xDA;
constexpr std::uint8_t kJournalP1 = 0x01;
constexpr std::uint8_t kJournalP2 = 0x7C;

} // namespace

GetSectionsAttributesApdu::GetSectionsAttributesApdu()
    : PerformSectionsActionApdu(kAttributes, kRead, std::nullopt, kWholeAnswer)
{
}

SplitIntoSectionsApdu::SplitIntoSectionsApdu(const std::vector<std::uint8_t>& sectionTlvs)
    : PerformSectionsActionApdu(kSplit, 0x00, sectionTlvs, std::nullopt)
{
}

ChangeAccessRights::ChangeAccessRights(std::uint8_t sectionId, std::uint8_t state, bool permanent)
    : PerformSectionsActionApdu(kAttributes, permanent ? kPermanent : kTemporary,
                                std::vector<std::uint8_t>{kAccessRightsTag, kAccessRightsSize, sectionId, state},
                                std::nullopt)
{
}

ResetToken::ResetToken() : Apdu(kProprietaryClass, kFlashCommand, kReset, 0x00, std::nullopt, std::nullopt) {}

} // namespace qvfl

namespace qvfl::ApduCommand {

JournaInformation::JournaInformation(std::uint8_t cla, const std::vector<std::uint8_t>& chunk)
    : Apdu(cla, kPutData, kJournalP1, kJournalP2, chunk, std::nullopt)
{
}

} // namespace qvfl::ApduCommand
