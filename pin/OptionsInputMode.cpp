#include "pin/OptionsInputMode.h"

#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "pin/BasePinManagerVisitor.h"
#include "pin/isGivenExplicitly.h"
#include "pin/wipeString.h"

#include <utility>

OptionsInputMode::OptionsInputMode(std::string valueOptionKey) : valueOptionKey_(std::move(valueOptionKey)) {}

OptionsInputMode::~OptionsInputMode()
{
    wipeString(pin_);
}

PinInputMode OptionsInputMode::mode() const
{
    return PinInputMode::Options;
}

bool OptionsInputMode::checkSpecificOptions(const boost::program_options::variables_map& variables) const
{
    return isGivenExplicitly(variables, valueOptionKey_);
}

void OptionsInputMode::prepare(const std::string& pinName, const boost::program_options::variables_map& variables)
{
    if (!checkSpecificOptions(variables)) {
        throw PinOptionCompletenessError(pinName);
    }
    const auto& given = variables.at(valueOptionKey_).as<std::string>();
    // An empty PIN would only cost the token a login attempt.
    if (given.empty()) {
        throw NoPinGivenError(pinName);
    }
    wipeString(pin_);
    pin_ = given;
}

std::string OptionsInputMode::getPin(std::size_t) const
{
    return pin_;
}

void OptionsInputMode::accept(BasePinManagerVisitor& visitor)
{
    visitor.visit(static_cast<BaseInputMode&>(*this));
}
