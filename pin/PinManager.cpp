#include "pin/PinManager.h"

#include "cli/CliError.h"
#include "cli/internalError.h"
#include "pin/PinRelatedTextFactory.h"
#include "pin/isGivenExplicitly.h"

#include <optional>
#include <utility>

PinManager::PinManager(PinType pinType, std::string inputModeOptionKey)
    : pinType_(pinType), inputModeOptionKey_(std::move(inputModeOptionKey))
{
}

std::string PinManager::pinName() const
{
    return pin_options::PinRelatedTextFactory().buildPinName(Language::English, pinType_);
}

void PinManager::prepare(const boost::program_options::variables_map& variables)
{
    const auto name = pinName();
    std::optional<PinInputMode> explicitMode;
    if (isGivenExplicitly(variables, inputModeOptionKey_)) {
        explicitMode = variables.at(inputModeOptionKey_).as<PinInputMode>();
    }

    std::optional<PinInputMode> deducedMode;
    for (const auto& [kind, mode] : modes_) {
        if (mode->checkSpecificOptions(variables)) {
            if (deducedMode) {
                throw PinInputDeductionError(name);
            }
            deducedMode = kind;
        }
    }

    if (explicitMode && deducedMode && *explicitMode != *deducedMode) {
        throw PinInputDeductionError(name);
    }
    if (explicitMode) {
        prepareMode(*explicitMode, variables);
    } else if (deducedMode) {
        prepareMode(*deducedMode, variables);
    } else if (const auto it = variables.find(inputModeOptionKey_); it != variables.end()) {
        // Only a defaulted value is left here: from the configuration or the option itself.
        prepareMode(it->second.as<PinInputMode>(), variables);
    } else {
        throw PinInputDeductionError(name);
    }
}

void PinManager::prepareMode(PinInputMode mode, const boost::program_options::variables_map& variables)
{
    const auto name = pinName();
    const auto it = modes_.find(mode);
    if (it == modes_.end()) {
        throw PinInputModeSupportError(toString(mode).value_or(""), name);
    }
    it->second->prepare(name, variables);
    chosenMode_ = it->second;
}

std::string PinManager::getPin(std::size_t minLength) const
{
    if (!chosenMode_) {
        throw PinManagerUnpreparedError();
    }
    return chosenMode_->getPin(minLength);
}

void PinManager::accept(BasePinManagerVisitor& visitor) const
{
    if (chosenMode_) {
        chosenMode_->accept(visitor);
    }
}

bool PinManager::areRelatedOptionsPresent(const boost::program_options::variables_map& variables) const
{
    if (isGivenExplicitly(variables, inputModeOptionKey_)) {
        return true;
    }
    for (const auto& [kind, mode] : modes_) {
        if (mode->checkSpecificOptions(variables)) {
            return true;
        }
    }
    return false;
}
