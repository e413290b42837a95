#include "commands/SetUserPinDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/newPinGenSettingsDefault.h"
#include "commands/pinRoles.h"
#include "commands/runNewPinCommand.h"
#include "commands/wipePinsOnExit.h"
#include "logging/addOption.h"
#include "pin/PinGenSettingsCliOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"
#include "token/types/UserType.h"

namespace set_user_pin_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::SelectedUser);
const PinParamsDto newPinParamsDto = pin_roles::newPinRole(PinBelonging::User);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const PinInputOptionAttributes newPinInputOptionAttributes{&newPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes newPinValueOptionAttributes{&newPinParamsDto, std::nullopt, std::nullopt};
const PinGenSettingsOptionAttributes newPinGenSettingsOptionAttributes{&newPinParamsDto, newPinGenSettingsDefault,
                                                                       std::nullopt};
const TypedOptionAttributes<UserType> authRoleOptionAttributes{
    {"auth-as", std::nullopt},
    {"Set which PIN will be used for authorization.\nPossible values:\n  user - user PIN;\n  so - admin PIN.",
     "Выбрать PIN-код для авторизации.\nВозможные значения:\n  user - PIN-код пользователя;\n  so - PIN-код "
     "администратора."},
    std::nullopt,
    std::nullopt,
    true,
    false,
    nullptr};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using NewPinInputOption = PinInputModeCliOption<&newPinInputOptionAttributes>;
using NewPinValueOption = PinValueCliOption<&newPinValueOptionAttributes>;
using NewPinGenSettingsOption = PinGenSettingsCliOption<&newPinGenSettingsOptionAttributes>;
using AuthRoleOption = TypedCliOption<&authRoleOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption, NewPinGenSettingsOption,
                  AuthRoleOption>
    setUserPinCommandInfo("set-user-pin", CommandCategory::PinManagement,
                          {"Set user PIN.", "Установить PIN-код пользователя."});

} // namespace set_user_pin_options

namespace {
using namespace set_user_pin_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption,
                                       NewPinGenSettingsOption, AuthRoleOption>
    optionsAdapter(setUserPinCommandInfo);
} // namespace

void SetUserPinDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                               std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const UserType authAs = optionsAdapter.value<AuthRoleOption>(vm);
    logging::CommandRecord record{setUserPinCommandInfo.commandName(), {}, {}};
    logging::addOption(record, authRoleOptionAttributes.key.name, authAs);
    // Whoever logs in, the PIN set is the user's.
    auto userPinTarget = [authAs](Token& token, const std::string& authPin) {
        return NewPinTarget{{token.getSerialNumber(), pin_roles::kNewPinKey, *toString(UserType::User),
                             [&token] { return token.getUserPinLengths(); },
                             [&token] { return token.getUserPinPolicy(); }},
                            [&token, &authPin, authAs](const std::string& newPin) {
                                SetUserPinParams params{authAs, authPin, newPin};
                                const auto wipe = wipePinsOnExit(params);
                                token.setUserPin(params);
                                return *toString(UserType::User);
                            }};
    };
    runNewPinCommand(*vm, std::move(record), authPinParamsDto, newPinParamsDto, userPinTarget, *strategy,
                     std::move(logger), tokenManager);
}

const BaseCommandInfo& SetUserPinDispatcher::getCommandInfo() const
{
    return setUserPinCommandInfo;
}

boost::program_options::options_description SetUserPinDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
