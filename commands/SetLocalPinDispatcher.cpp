#include "commands/SetLocalPinDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/localIdOption.h"
#include "commands/newPinGenSettingsDefault.h"
#include "commands/pinRoles.h"
#include "commands/runNewPinCommand.h"
#include "commands/wipePinsOnExit.h"
#include "logging/addOption.h"
#include "pin/PinGenSettingsCliOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/SetLocalPinParams.h"
#include "token/Token.h"

namespace set_local_pin_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::LocalUser);
const PinParamsDto newPinParamsDto = pin_roles::newPinRole(PinBelonging::LocalUser);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const PinInputOptionAttributes newPinInputOptionAttributes{&newPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes newPinValueOptionAttributes{&newPinParamsDto, std::nullopt, std::nullopt};
const PinGenSettingsOptionAttributes newPinGenSettingsOptionAttributes{&newPinParamsDto, newPinGenSettingsDefault,
                                                                       std::nullopt};
const TypedOptionAttributes<LocalIdValue> localUserIdOptionAttributes = localIdAttributes(true);

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using NewPinInputOption = PinInputModeCliOption<&newPinInputOptionAttributes>;
using NewPinValueOption = PinValueCliOption<&newPinValueOptionAttributes>;
using NewPinGenSettingsOption = PinGenSettingsCliOption<&newPinGenSettingsOptionAttributes>;
using LocalUserIdOption = TypedCliOption<&localUserIdOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption, NewPinGenSettingsOption,
                  LocalUserIdOption>
    setLocalPinCommandInfo("set-local-pin", CommandCategory::PinManagement,
                           {"Set existing local PIN.", "Установить существующий локальный PIN-код."});

} // namespace set_local_pin_options

namespace {
using namespace set_local_pin_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption,
                                       NewPinGenSettingsOption, LocalUserIdOption>
    optionsAdapter(setLocalPinCommandInfo);
} // namespace

void SetLocalPinDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const auto given = optionsAdapter.value<LocalUserIdOption>(vm);
    const LocalUserId id = toLocalUserId(given);
    logging::CommandRecord record{setLocalPinCommandInfo.commandName(), {}, {}};
    logging::addOption(record, localUserIdOptionAttributes.key.name, given);
    auto localPinTarget = [id](Token& token, const std::string& authPin) {
        const std::string role = toString(id);
        return NewPinTarget{{token.getSerialNumber(), pin_roles::kNewPinKey, role,
                             [&token, id] { return token.getLocalPinLengths(id); }},
                            [&token, &authPin, id, role](const std::string& newPin) {
                                SetLocalPinParams params{authPin, newPin};
                                const auto wipe = wipePinsOnExit(params);
                                token.setLocalPin(id, params);
                                return role;
                            }};
    };
    runNewPinCommand(*vm, std::move(record), authPinParamsDto, newPinParamsDto, localPinTarget, *strategy,
                     std::move(logger), tokenManager);
}

const BaseCommandInfo& SetLocalPinDispatcher::getCommandInfo() const
{
    return setLocalPinCommandInfo;
}

boost::program_options::options_description SetLocalPinDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
