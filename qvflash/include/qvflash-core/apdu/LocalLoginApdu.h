#pragma once

#include <qvflash-core/apdu/Apdu.h>
#include <qvflash-core/apdu/TokenApdu.h>

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

// RESET RETRY COUNTER of a local PIN or MVA object: restores its attempts.
class UnblockLchvRsf : public ResetRetryCounter {
public:
    explicit UnblockLchvRsf(std::uint16_t id);
};

} // namespace qvfl::ApduCommand
