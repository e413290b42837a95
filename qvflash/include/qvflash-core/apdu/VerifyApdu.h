#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <cstdint>
#include <vector>

namespace qvfl::ApduCommand {

// VERIFY (00 20 00 P2). The data field is always sent: with a secret it
// presents it, empty (Lc 00) it asks for the remaining attempts.
class Verify : public Apdu {
public:
    Verify(unsigned char p2, const std::vector<std::uint8_t>& data);
};

class PinLoginAdmin : public Verify {
public:
    using Verify::Verify;
};

class PinLoginUser : public Verify {
public:
    using Verify::Verify;
};

// Local PINs and MVA objects of the local-login directory.
class LCHVRSFLogin : public Verify {
public:
    using Verify::Verify;
};

// RESET ACCESS RIGHTS (80 40 00 00): drops every right that VERIFY granted.
class ResetAccessRights : public Apdu {
public:
    ResetAccessRights();
};

} // namespace qvfl::ApduCommand
