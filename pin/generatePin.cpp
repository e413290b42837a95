#include "pin/generatePin.h"

#include "pin/charsSets.h"
#include "pin/randomBelow.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>

namespace {
// Two different characters need two places; below that the check for them could never pass.
constexpr std::size_t kMinimalLength = 2;

char drawFrom(std::string_view alphabet)
{
    return alphabet[randomBelow(alphabet.size())];
}

bool hasTwoDifferentCharacters(const std::string& pin)
{
    return std::adjacent_find(pin.begin(), pin.end(), std::not_equal_to<>()) != pin.end();
}
} // namespace

std::string generatePin(std::size_t length, const std::set<PinGenSettingsElement::CharsSet>& sets)
{
    // The PIN is built in place in storage reserved up front, so no copy of it is left behind
    // in memory.
    std::string pin;
    pin.reserve(std::max({length, charsSets.size(), kMinimalLength}));
    std::string pool;
    for (const auto& [set, alphabet] : charsSets) {
        if (sets.empty() || sets.count(set) != 0) {
            pin += drawFrom(alphabet);
            pool += alphabet;
        }
    }
    const std::size_t mandatory = pin.size();
    const std::size_t finalLength = std::max({length, mandatory, kMinimalLength});
    do {
        pin.resize(mandatory);
        while (pin.size() < finalLength) {
            pin += drawFrom(pool);
        }
    } while (!hasTwoDifferentCharacters(pin));
    for (std::size_t i = 0; i + 1 < finalLength; ++i) {
        if (const auto j = randomBelow(finalLength - i); j != 0) {
            std::swap(pin[i], pin[i + j]);
        }
    }
    return pin;
}
