#include "Atr.h"

namespace qvcard {

Bytes buildAtr(const qvtoken::CardSettings& card)
{
    if (card.rawAtr && !card.rawAtr->empty()) {
        return *card.rawAtr;
    }
    const std::string& marker = card.atrMarker.substr(0, 15);
    const auto k = static_cast<std::uint8_t>(marker.size());
    Bytes atr{0x3B};
    if (card.protocol == "t0") {
        atr.push_back(k);
        atr.insert(atr.end(), marker.begin(), marker.end());
        return atr;
    }
    atr.push_back(static_cast<std::uint8_t>(0x80 | k));
    atr.push_back(0x80);
    atr.push_back(0x01);
    atr.insert(atr.end(), marker.begin(), marker.end());
    std::uint8_t tck = 0;
    for (std::size_t i = 1; i < atr.size(); ++i) {
        tck ^= atr[i];
    }
    atr.push_back(tck);
    return atr;
}

} // namespace qvcard
