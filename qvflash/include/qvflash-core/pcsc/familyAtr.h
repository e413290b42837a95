#pragma once

#include <cstdint>
#include <vector>

namespace qvfl {

// The historical bytes of an ATR (ISO 7816-3 8.2), empty when the interface
// bytes or the historical bytes would reach beyond the ATR.
std::vector<std::uint8_t> historicalBytesOf(const std::vector<std::uint8_t>& atr);

// Whether historical bytes, compared whole, name a card of the product family.
bool isFamilyCard(const std::vector<std::uint8_t>& historicalBytes);

} // namespace qvfl
