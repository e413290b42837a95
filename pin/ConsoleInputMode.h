#pragma once

#include "pin/BaseInputMode.h"

// The PIN is typed on the console without echo, and once more to confirm it when asked.
class ConsoleInputMode : public BaseInputMode {
public:
    explicit ConsoleInputMode(bool confirm);
    ~ConsoleInputMode() override;
    // The one PIN copy is wiped once; a copy of the mode would hold a second one.
    ConsoleInputMode(ConsoleInputMode const&) = delete;
    ConsoleInputMode& operator=(ConsoleInputMode const&) = delete;

    PinInputMode mode() const override;
    bool checkSpecificOptions(boost::program_options::variables_map const& variables) const override;
    // Keeps the PIN only when the confirmation matched.
    void prepare(std::string const& pinName, boost::program_options::variables_map const& variables) override;
    std::string getPin(std::size_t minLength) const override;
    void accept(BasePinManagerVisitor& visitor) override;

private:
    bool confirm;
    std::string pin;
};
