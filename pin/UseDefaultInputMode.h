#pragma once

#include "pin/BaseInputMode.h"

// The PIN is a fixed default of the command.
class UseDefaultInputMode : public BaseInputMode {
public:
    explicit UseDefaultInputMode(std::string defaultPin);

    PinInputMode mode() const override;
    bool checkSpecificOptions(const boost::program_options::variables_map& variables) const override;
    void prepare(const std::string& pinName, const boost::program_options::variables_map& variables) override;
    // The default whatever the minimum length.
    std::string getPin(std::size_t minLength) const override;
    void accept(BasePinManagerVisitor& visitor) override;

private:
    std::string defaultPin_;
};
