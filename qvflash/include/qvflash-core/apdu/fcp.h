#pragma once

#include <qvflash-core/apdu/TLV.h>

#include <cstdint>
#include <vector>

namespace qvfl::FCP {

constexpr std::uint8_t kFcpTemplateTag = 0x62;
// The functional capabilities inside the extended token information.
constexpr std::uint8_t kCapabilitiesTag = 0x04;

// The file descriptor byte of a SELECT answer, read from the FCP template (62)
// when there is one, else from the list itself. Record files (MVA) are 14,
// local PIN files 10.
std::uint8_t getFcpDescriptor(const std::vector<TLV>& tlvs);

// The functional capabilities TLV (04) of the extended token information.
class FunctionalCapabilitiesView {
public:
    explicit FunctionalCapabilitiesView(const TLV& tlv);

    bool isValid() const;
    // Both throw InvalidState on an invalid view.
    bool isSecurityEventLoggingSupported() const;
    bool isPartitioningSupported() const;

private:
    TLV tlv;
};

} // namespace qvfl::FCP
