#include "pin/GenerateInputMode.h"

#include "cli/DomainError.h"
#include "pin/BasePinManagerVisitor.h"
#include "pin/generatePin.h"
#include "pin/isGivenExplicitly.h"

#include <utility>

GenerateInputMode::GenerateInputMode(std::string settingsOptionKey) : settingsOptionKey_(std::move(settingsOptionKey))
{
}

PinInputMode GenerateInputMode::mode() const
{
    return PinInputMode::Generate;
}

bool GenerateInputMode::checkSpecificOptions(const boost::program_options::variables_map& variables) const
{
    return isGivenExplicitly(variables, settingsOptionKey_);
}

void GenerateInputMode::prepare(const std::string&, const boost::program_options::variables_map& variables)
{
    std::set<PinGenSettingsElement::CharsSet> newSets;
    std::optional<std::size_t> newLength;
    if (const auto it = variables.find(settingsOptionKey_); it != variables.end()) {
        convert(it->second.as<std::vector<PinGenSettingsElement>>(), newSets, newLength);
    }
    charsSets_ = std::move(newSets);
    length_ = newLength;
}

std::string GenerateInputMode::getPin(std::size_t minLength) const
{
    if (length_ && *length_ < minLength) {
        throw TooShortGeneratedPinLength();
    }
    return generatePin(length_.value_or(minLength), charsSets_);
}

void GenerateInputMode::accept(BasePinManagerVisitor& visitor)
{
    visitor.visit(*this);
}

const std::string& GenerateInputMode::settingsOption() const
{
    return settingsOptionKey_;
}

std::vector<PinGenSettingsElement> GenerateInputMode::getSettings() const
{
    std::vector<PinGenSettingsElement> settings(charsSets_.begin(), charsSets_.end());
    if (length_) {
        settings.emplace_back(static_cast<unsigned long long>(*length_));
    }
    return settings;
}
