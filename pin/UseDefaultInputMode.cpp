#include "pin/UseDefaultInputMode.h"

#include "pin/BasePinManagerVisitor.h"

#include <utility>

UseDefaultInputMode::UseDefaultInputMode(std::string defaultPin) : defaultPin_(std::move(defaultPin)) {}

PinInputMode UseDefaultInputMode::mode() const
{
    return PinInputMode::Default;
}

bool UseDefaultInputMode::checkSpecificOptions(const boost::program_options::variables_map&) const
{
    return false;
}

void UseDefaultInputMode::prepare(const std::string&, const boost::program_options::variables_map&) {}

std::string UseDefaultInputMode::getPin(std::size_t) const
{
    return defaultPin_;
}

void UseDefaultInputMode::accept(BasePinManagerVisitor& visitor)
{
    visitor.visit(static_cast<BaseInputMode&>(*this));
}
