#pragma once

#include "pin/BaseInputMode.h"

// The PIN is a fixed default of the command.
class UseDefaultInputMode : public BaseInputMode {
public:
    explicit UseDefaultInputMode(std::string defaultPin);

    PinInputMode mode() const override;
    bool checkSpecificOptions(boost::program_options::variables_map const& variables) const override;
    void prepare(std::string const& pinName, boost::program_options::variables_map const& variables) override;
    // The default whatever the minimum length.
    std::string getPin(std::size_t minLength) const override;
    void accept(BasePinManagerVisitor& visitor) override;

private:
    std::string defaultPin;
};
