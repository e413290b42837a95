#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace qvfl {

// GET DATA (00 CA).
class GetDataApdu : public Apdu {
public:
    GetDataApdu(std::uint8_t p1, std::uint8_t p2, std::uint8_t le);
};

// The token's serial number: 8 bytes, most significant first.
class GetTokenSerial : public GetDataApdu {
public:
    GetTokenSerial();
};

// The flash-memory commands (80 53).
class PerformSectionsActionApdu : public Apdu {
public:
    PerformSectionsActionApdu(std::uint8_t p1, std::uint8_t p2, const std::optional<std::vector<std::uint8_t>>& data,
                              const std::optional<std::uint8_t>& le);
};

// The flash size in section units: 4 bytes, most significant first.
class CountTotalFlashMemory : public PerformSectionsActionApdu {
public:
    CountTotalFlashMemory();
};

// The token's capabilities as a TLV list.
class GetExtendedTokenInfoApdu : public Apdu {
public:
    GetExtendedTokenInfoApdu();
};

} // namespace qvfl

namespace qvfl::ApduCommand {

// RESET RETRY COUNTER (00 2C 03 P2): restores the attempts of one secret
// without changing it.
class ResetRetryCounter : public Apdu {
public:
    explicit ResetRetryCounter(std::uint8_t p2);
};

class UnblockUserPin : public ResetRetryCounter {
public:
    UnblockUserPin();
};

} // namespace qvfl::ApduCommand
