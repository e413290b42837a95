#include "pin/PinGenSettingsElement.h"

#include "cli/CliError.h"
#include "pin/CharsSetNames.h"

#include <istream>
#include <ostream>
#include <regex>
#include <stdexcept>
#include <string>

PinGenSettingsElement::PinGenSettingsElement(CharsSet charsSet) : value(charsSet) {}

PinGenSettingsElement::PinGenSettingsElement(unsigned long long length) : value(length) {}

std::optional<PinGenSettingsElement::CharsSet> PinGenSettingsElement::charsSet() const
{
    if (const auto* set = std::get_if<CharsSet>(&value)) {
        return *set;
    }
    return std::nullopt;
}

std::optional<unsigned long long> PinGenSettingsElement::length() const
{
    if (const auto* length = std::get_if<unsigned long long>(&value)) {
        return *length;
    }
    return std::nullopt;
}

bool PinGenSettingsElement::operator==(const PinGenSettingsElement& other) const
{
    return value == other.value;
}

bool PinGenSettingsElement::operator!=(const PinGenSettingsElement& other) const
{
    return !(*this == other);
}

void convert(const std::vector<PinGenSettingsElement>& settings, std::set<PinGenSettingsElement::CharsSet>& charsSets,
             std::optional<std::size_t>& length)
{
    for (const auto& element : settings) {
        if (const auto set = element.charsSet()) {
            if (!charsSets.insert(*set).second) {
                throw DuplicateGenSettingsError();
            }
        } else {
            if (length) {
                throw DuplicateGenSettingsError();
            }
            length = static_cast<std::size_t>(*element.length());
        }
    }
}

void validate(const std::vector<PinGenSettingsElement>& settings)
{
    std::set<PinGenSettingsElement::CharsSet> charsSets;
    std::optional<std::size_t> length;
    convert(settings, charsSets, length);
}

namespace {

// The range of the other counts of the command line: a token's PIN is far shorter, and a
// longer length would only cost time and memory before the token refuses it.
constexpr int kMaxLength = 255;

std::optional<PinGenSettingsElement> parseLength(const std::string& word)
{
    const std::regex lengthForm("(" + pinGenSettingLengthString + "|" + pinGenSettingLengthShortString + "):[0-9]+",
                                std::regex::ECMAScript);
    if (!std::regex_match(word, lengthForm)) {
        return std::nullopt;
    }
    try {
        const int length = std::stoi(word.substr(word.find(':') + 1));
        if (length < 0 || length > kMaxLength) {
            return std::nullopt;
        }
        return PinGenSettingsElement(static_cast<unsigned long long>(length));
    } catch (const std::logic_error&) {
        // Digits beyond the int range are as wrong as any other bad word: the parser
        // reports them as an invalid value instead of a bare conversion error.
        return std::nullopt;
    }
}
} // namespace

std::istream& operator>>(std::istream& in, PinGenSettingsElement& element)
{
    std::string word;
    if (!(in >> word)) {
        return in;
    }
    if (const auto it = charsSetStrings.right.find(word); it != charsSetStrings.right.end()) {
        element = PinGenSettingsElement(it->second);
    } else if (const auto shortIt = charsSetShortStrings.right.find(word);
               shortIt != charsSetShortStrings.right.end()) {
        element = PinGenSettingsElement(shortIt->second);
    } else if (const auto length = parseLength(word)) {
        element = *length;
    } else {
        in.setstate(std::ios::failbit);
    }
    return in;
}

std::ostream& operator<<(std::ostream& out, const std::vector<PinGenSettingsElement>& settings)
{
    out << '"';
    const char* separator = "";
    for (const auto& element : settings) {
        out << separator;
        if (const auto set = element.charsSet()) {
            out << charsSetStrings.left.at(*set);
        } else {
            out << pinGenSettingLengthString << ':' << *element.length();
        }
        separator = " ";
    }
    return out << '"';
}
