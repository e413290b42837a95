#pragma once

#include <qvflash-core/apdu/TokenApdu.h>

#include <cstdint>
#include <vector>

namespace qvfl {

// The token's sections, as 22-byte section TLVs.
class GetSectionsAttributesApdu : public PerformSectionsActionApdu {
public:
    GetSectionsAttributesApdu();
};

// Repartitions the flash memory into the sections of the TLVs given.
class SplitIntoSectionsApdu : public PerformSectionsActionApdu {
public:
    explicit SplitIntoSectionsApdu(const std::vector<std::uint8_t>& sectionTlvs);
};

// Sets the access state of one section, until the token restarts or for good.
class ChangeAccessRights : public PerformSectionsActionApdu {
public:
    ChangeAccessRights(std::uint8_t sectionId, std::uint8_t state, bool permanent);
};

// Restarts the token: it leaves the bus and comes back.
class ResetToken : public Apdu {
public:
    ResetToken();
};

} // namespace qvfl

namespace qvfl::ApduCommand {

// One chunk of a host record for the security event journal (CLA DA 01 7C);
// CLA 10 chains it to the next chunk, 00 ends the record.
class JournaInformation : public Apdu {
public:
    JournaInformation(std::uint8_t cla, const std::vector<std::uint8_t>& chunk);
};

} // namespace qvfl::ApduCommand
