#pragma once

#include "pin/BaseInputMode.h"

// The PIN is typed on the console without echo, and once more to confirm it when asked.
class ConsoleInputMode : public BaseInputMode {
public:
    explicit ConsoleInputMode(bool confirm);
    ~ConsoleInputMode() override;
    // The one PIN copy is wiped once; a copy of the mode would hold a second one.
    ConsoleInputMode(const ConsoleInputMode&) = delete;
    ConsoleInputMode& operator=(const ConsoleInputMode&) = delete;

    PinInputMode mode() const override;
    bool checkSpecificOptions(const boost::program_options::variables_map& variables) const override;
    // Keeps the PIN only when the confirmation matched.
    void prepare(const std::string& pinName, const boost::program_options::variables_map& variables) override;
    std::string getPin(std::size_t minLength) const override;
    void accept(BasePinManagerVisitor& visitor) override;

private:
    bool confirm_;
    std::string pin_;
};
