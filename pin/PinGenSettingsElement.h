#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <set>
#include <variant>
#include <vector>

// One PIN generation setting: a character set the PIN must draw from, or its length.
class PinGenSettingsElement {
public:
    enum class CharsSet : int {
        LowerLetters = 0,
        UpperLetters = 1,
        Digits = 2,
        SpecChars = 3,
    };

    PinGenSettingsElement() = default;
    PinGenSettingsElement(CharsSet charsSet);
    explicit PinGenSettingsElement(unsigned long long length);

    std::optional<CharsSet> charsSet() const;
    std::optional<unsigned long long> length() const;

    bool operator==(const PinGenSettingsElement& other) const;
    bool operator!=(const PinGenSettingsElement& other) const;

private:
    std::variant<CharsSet, unsigned long long> value;
};

// Splits the settings into the selected character sets and the length; a set named
// twice (by either of its names) or a second length throws DuplicateGenSettingsError.
void convert(const std::vector<PinGenSettingsElement>& settings, std::set<PinGenSettingsElement::CharsSet>& charsSets,
             std::optional<std::size_t>& length);

// The checks of convert alone.
void validate(const std::vector<PinGenSettingsElement>& settings);

// Reads a long or short character-set name, or "length:N" / "l:N".
std::istream& operator>>(std::istream& in, PinGenSettingsElement& element);

// Writes the list in long names, enclosed in double quotes: "lower-letters digits length:8".
std::ostream& operator<<(std::ostream& out, const std::vector<PinGenSettingsElement>& settings);
