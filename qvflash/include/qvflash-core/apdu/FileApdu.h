#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <cstdint>
#include <vector>

namespace qvfl {

// CREATE FILE (00 E0 00 00) in the current directory, from an FCP template.
class ApduCreateFile : public Apdu {
public:
    explicit ApduCreateFile(const std::vector<std::uint8_t>& fcpTemplate);
};

// CHANGE REFERENCE DATA (00 24 01 00) of the current local PIN file: the new
// PIN as 80 02 nH nL, A6 n and the n PIN bytes.
class ChangeReferenceData : public Apdu {
public:
    explicit ChangeReferenceData(const std::vector<std::uint8_t>& newPin);
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
