#include "pin/ConsoleInputMode.h"

#include "cli/DomainError.h"
#include "pin/BasePinManagerVisitor.h"
#include "pin/getPinFromStdInput.h"
#include "pin/wipeString.h"
#include "pkcs11/ScopeGuard.h"

ConsoleInputMode::ConsoleInputMode(bool confirm) : confirm_(confirm) {}

ConsoleInputMode::~ConsoleInputMode()
{
    wipeString(pin_);
}

PinInputMode ConsoleInputMode::mode() const
{
    return PinInputMode::Console;
}

bool ConsoleInputMode::checkSpecificOptions(const boost::program_options::variables_map&) const
{
    return false;
}

void ConsoleInputMode::prepare(const std::string& pinName, const boost::program_options::variables_map&)
{
    std::string typed = getPinFromStdInput("Enter " + pinName + ": ");
    auto wipeTyped = vt::scopeGuard(vt::ScopeExit{}, [&typed] { wipeString(typed); });
    // An empty answer (Enter alone, or no input at all) would cost the token a login attempt.
    if (typed.empty()) {
        throw NoPinGivenError(pinName);
    }
    if (confirm_) {
        std::string again = getPinFromStdInput("Enter " + pinName + " again: ");
        const bool same = again == typed;
        wipeString(again);
        if (!same) {
            throw PinConfirmationFailedError(pinName);
        }
    }
    wipeString(pin_);
    pin_.swap(typed);
}

std::string ConsoleInputMode::getPin(std::size_t) const
{
    return pin_;
}

void ConsoleInputMode::accept(BasePinManagerVisitor& visitor)
{
    visitor.visit(static_cast<BaseInputMode&>(*this));
}
