#include "commands/SetSoPinDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "commands/newPinGenSettingsDefault.h"
#include "commands/pinRoles.h"
#include "commands/runNewPinCommand.h"
#include "commands/wipePinsOnExit.h"
#include "pin/PinGenSettingsCliOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"
#include "token/types/UserType.h"

namespace set_so_pin_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);
const PinParamsDto newPinParamsDto = pin_roles::newPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const PinInputOptionAttributes newPinInputOptionAttributes{&newPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes newPinValueOptionAttributes{&newPinParamsDto, std::nullopt, std::nullopt};
const PinGenSettingsOptionAttributes newPinGenSettingsOptionAttributes{&newPinParamsDto, newPinGenSettingsDefault,
                                                                       std::nullopt};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using NewPinInputOption = PinInputModeCliOption<&newPinInputOptionAttributes>;
using NewPinValueOption = PinValueCliOption<&newPinValueOptionAttributes>;
using NewPinGenSettingsOption = PinGenSettingsCliOption<&newPinGenSettingsOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption, NewPinGenSettingsOption>
    setSoPinCommandInfo("set-so-pin", CommandCategory::PinManagement,
                        {"Set admin PIN.", "Установить PIN-код администратора."});

} // namespace set_so_pin_options

namespace {
using namespace set_so_pin_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption,
                                       NewPinGenSettingsOption>
    optionsAdapter(setSoPinCommandInfo);

NewPinTarget adminPinTarget(Token& token, const std::string& authPin)
{
    return {{token.getSerialNumber(), pin_roles::kNewPinKey, *toString(UserType::So),
             [&token] { return token.getSoPinLengths(); }},
            [&token, &authPin](const std::string& newPin) {
                SetSoPinParams params{authPin, newPin};
                const auto wipe = wipePinsOnExit(params);
                token.setSoPin(params);
                return *toString(UserType::So);
            }};
}
} // namespace

void SetSoPinDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    runNewPinCommand(*vm, {setSoPinCommandInfo.commandName(), {}, {}}, authPinParamsDto, newPinParamsDto,
                     adminPinTarget, *strategy, std::move(logger), tokenManager);
}

const BaseCommandInfo& SetSoPinDispatcher::getCommandInfo() const
{
    return setSoPinCommandInfo;
}

boost::program_options::options_description SetSoPinDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
