#include "pin/GenerateInputMode.h"

#include "cli/DomainError.h"
#include "pin/BasePinManagerVisitor.h"
#include "pin/generatePin.h"
#include "pin/isGivenExplicitly.h"

#include <utility>

GenerateInputMode::GenerateInputMode(std::string settingsOptionKey) : settingsOptionKey(std::move(settingsOptionKey)) {}

PinInputMode GenerateInputMode::mode() const
{
    return PinInputMode::Generate;
}

bool GenerateInputMode::checkSpecificOptions(const boost::program_options::variables_map& variables) const
{
    return isGivenExplicitly(variables, settingsOptionKey);
}

void GenerateInputMode::prepare(const std::string&, const boost::program_options::variables_map& variables)
{
    std::set<PinGenSettingsElement::CharsSet> newSets;
    std::optional<std::size_t> newLength;
    if (const auto it = variables.find(settingsOptionKey); it != variables.end()) {
        convert(it->second.as<std::vector<PinGenSettingsElement>>(), newSets, newLength);
    }
    charsSets = std::move(newSets);
    length = newLength;
}

std::string GenerateInputMode::getPin(std::size_t minLength) const
{
    if (length && *length < minLength) {
        throw TooShortGeneratedPinLength();
    }
    return generatePin(length.value_or(minLength), charsSets);
}

void GenerateInputMode::accept(BasePinManagerVisitor& visitor)
{
    visitor.visit(*this);
}

const std::string& GenerateInputMode::settingsOption() const
{
    return settingsOptionKey;
}

std::vector<PinGenSettingsElement> GenerateInputMode::getSettings() const
{
    std::vector<PinGenSettingsElement> settings(charsSets.begin(), charsSets.end());
    if (length) {
        settings.emplace_back(static_cast<unsigned long long>(*length));
    }
    return settings;
}
