#pragma once

#include "pin/BaseInputMode.h"

// The PIN is the value of an option given on the command line.
class OptionsInputMode : public BaseInputMode {
public:
    explicit OptionsInputMode(std::string valueOptionKey);
    ~OptionsInputMode() override;
    // The one PIN copy is wiped once; a copy of the mode would hold a second one.
    OptionsInputMode(const OptionsInputMode&) = delete;
    OptionsInputMode& operator=(const OptionsInputMode&) = delete;

    PinInputMode mode() const override;
    bool checkSpecificOptions(const boost::program_options::variables_map& variables) const override;
    // A defaulted value is refused: a PIN never comes from a default.
    void prepare(const std::string& pinName, const boost::program_options::variables_map& variables) override;
    std::string getPin(std::size_t minLength) const override;
    void accept(BasePinManagerVisitor& visitor) override;

private:
    std::string valueOptionKey_;
    std::string pin_;
};
