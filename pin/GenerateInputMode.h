#pragma once

#include "pin/BaseInputMode.h"
#include "pin/PinGenSettingsElement.h"

#include <optional>
#include <set>
#include <vector>

// The PIN is generated, a fresh one for every request, with the character sets and the
// length of the generation-settings option.
class GenerateInputMode : public BaseInputMode {
public:
    explicit GenerateInputMode(std::string settingsOptionKey);

    PinInputMode mode() const override;
    bool checkSpecificOptions(const boost::program_options::variables_map& variables) const override;
    // Reads the settings, given or defaulted; without any, all sets and no length.
    void prepare(const std::string& pinName, const boost::program_options::variables_map& variables) override;
    // The set length, or minLength when none is set; a set length below minLength throws
    // TooShortGeneratedPinLength.
    std::string getPin(std::size_t minLength) const override;
    void accept(BasePinManagerVisitor& visitor) override;

    const std::string& settingsOption() const;
    // The selected sets in ascending order, then the length if set.
    std::vector<PinGenSettingsElement> getSettings() const;

private:
    std::string settingsOptionKey_;
    std::set<PinGenSettingsElement::CharsSet> charsSets_;
    std::optional<std::size_t> length_;
};
