#include <qvflash-core/pcsc/familyAtr.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <string_view>

namespace qvfl {
namespace {

constexpr std::array<std::string_view, 5> kFamilyMarkers = {"QvSC", "QuorvikZRNsc", "Quorvik VL ", "Quorvik ZRN",
                                                            "QuorvikVLBT"};

constexpr std::uint8_t kTdFollows = 0x80;

// TA, TB and TC follow an indicator byte for each of its bits 4, 5 and 6.
std::size_t interfaceBytesAfter(std::uint8_t indicator)
{
    return std::bitset<3>((indicator >> 4) & 0x07).count();
}

} // namespace

std::vector<std::uint8_t> historicalBytesOf(const std::vector<std::uint8_t>& atr)
{
    if (atr.size() < 2) {
        return {};
    }
    const std::size_t count = atr[1] & 0x0F;
    std::size_t indicatorAt = 1; // T0, then each TDi
    std::size_t position = 2;
    for (;;) {
        const std::uint8_t indicator = atr[indicatorAt];
        position += interfaceBytesAfter(indicator);
        if ((indicator & kTdFollows) == 0) {
            break;
        }
        // TDi follows TAi, TBi and TCi and is the next indicator.
        if (position >= atr.size()) {
            return {};
        }
        indicatorAt = position;
        position += 1;
    }
    if (position > atr.size() || atr.size() - position < count) {
        return {};
    }
    return {atr.begin() + static_cast<std::ptrdiff_t>(position),
            atr.begin() + static_cast<std::ptrdiff_t>(position + count)};
}

bool isFamilyCard(const std::vector<std::uint8_t>& historicalBytes)
{
    return std::any_of(kFamilyMarkers.begin(), kFamilyMarkers.end(), [&historicalBytes](std::string_view marker) {
        return marker.size() == historicalBytes.size() &&
               std::equal(marker.begin(), marker.end(), historicalBytes.begin(),
                          [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    });
}

} // namespace qvfl
