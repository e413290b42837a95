#include "pin/PinManager.h"

#include "cli/CliError.h"
#include "cli/internalError.h"
#include "pin/PinRelatedTextFactory.h"
#include "pin/isGivenExplicitly.h"

#include <optional>
#include <utility>

PinManager::PinManager(PinType pinType, std::string inputModeOptionKey)
    : pinType(pinType), inputModeOptionKey(std::move(inputModeOptionKey))
{
}

std::string PinManager::pinName() const
{
    return pin_options::PinRelatedTextFactory().buildPinName(Language::English, pinType);
}

void PinManager::prepare(const boost::program_options::variables_map& variables)
{
    const auto name = pinName();
    std::optional<PinInputMode> explicitMode;
    if (isGivenExplicitly(variables, inputModeOptionKey)) {
        explicitMode = variables.at(inputModeOptionKey).as<PinInputMode>();
    }

    std::optional<PinInputMode> deducedMode;
    for (const auto& [kind, mode] : modes) {
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
    } else if (const auto it = variables.find(inputModeOptionKey); it != variables.end()) {
        // Only a defaulted value is left here: from the configuration or the option itself.
        prepareMode(it->second.as<PinInputMode>(), variables);
    } else {
        throw PinInputDeductionError(name);
    }
}

void PinManager::prepareMode(PinInputMode mode, const boost::program_options::variables_map& variables)
{
    const auto name = pinName();
    const auto it = modes.find(mode);
    if (it == modes.end()) {
        throw PinInputModeSupportError(toString(mode).value_or(""), name);
    }
    it->second->prepare(name, variables);
    chosenMode = it->second;
}

std::string PinManager::getPin(std::size_t minLength) const
{
    if (!chosenMode) {
        throw PinManagerUnpreparedError();
    }
    return chosenMode->getPin(minLength);
}

void PinManager::accept(BasePinManagerVisitor& visitor) const
{
    if (chosenMode) {
        chosenMode->accept(visitor);
    }
}

bool PinManager::areRelatedOptionsPresent(const boost::program_options::variables_map& variables) const
{
    if (isGivenExplicitly(variables, inputModeOptionKey)) {
        return true;
    }
    for (const auto& [kind, mode] : modes) {
        if (mode->checkSpecificOptions(variables)) {
            return true;
        }
    }
    return false;
}
