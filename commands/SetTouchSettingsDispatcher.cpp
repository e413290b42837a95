#include "commands/SetTouchSettingsDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/pinRoles.h"
#include "commands/runAuthPinCommand.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"
#include "token/TouchSettings.h"
#include "token/types/TouchMode.h"

#include <boost/format.hpp>

namespace set_touch_settings_options {

using namespace pin_options;

namespace {
// The help names the modes by the texts the parser reads.
CliElementDescription makeModeDescription()
{
    const auto discrete = *toString(TouchMode::Discrete);
    const auto continuous = *toString(TouchMode::Continuous);
    return {(boost::format("Touch mode for confirmation of 2 or more consecutive signature operations.\n"
                           "Possible values:\n  %1% -  separate touches;\n  %2% - continuous touch.") %
             discrete % continuous)
                .str(),
            (boost::format("Режим касания для подтверждения 2 и более последовательных операций подписи.\n"
                           "Возможные значения:\n  %1% -  отдельные касания;\n  %2% - непрерывное касание.") %
             discrete % continuous)
                .str()};
}
} // namespace

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
// In two steps: GCC's optimiser warns of an uninitialised key when the formatted text is built
// inside the record's initialiser.
const TypedOptionAttributes<TouchMode> touchModeOptionAttributes = [] {
    TypedOptionAttributes<TouchMode> attributes{
        {"mode", std::nullopt}, {}, std::nullopt, std::nullopt, true, false, nullptr};
    attributes.description = makeModeDescription();
    return attributes;
}();
const TypedOptionAttributes<unsigned long> userPresentTimeLimitOptionAttributes{
    {"present-time-limit", std::nullopt},
    {"Duration of user presence in seconds. Signature operation can be confirmed only during this time after touch.",
     "Длительность присутствия пользователя в секундах. Операцию подписи можно подтвердить только в течение этого "
     "времени после касания."},
    std::nullopt,
    std::nullopt,
    true,
    false,
    nullptr};
const TypedOptionAttributes<unsigned long> userActionTimeoutOptionAttributes{
    {"action-timeout", std::nullopt},
    {"Duration of waiting for signature operation confirmation in seconds.",
     "Длительность ожидания подтверждения операции подписи в секундах."},
    std::nullopt,
    std::nullopt,
    true,
    false,
    nullptr};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using TouchModeOption = TypedCliOption<&touchModeOptionAttributes>;
using PresentTimeLimitOption = TypedCliOption<&userPresentTimeLimitOptionAttributes>;
using ActionTimeoutOption = TypedCliOption<&userActionTimeoutOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, TouchModeOption, PresentTimeLimitOption, ActionTimeoutOption>
    setTouchSettingsCommandInfo("set-touch-settings", CommandCategory::TokenManagement,
                                {"Set token touch settings.", "Установить настройки касания токена."});

} // namespace set_touch_settings_options

namespace {
using namespace set_touch_settings_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, TouchModeOption, PresentTimeLimitOption,
                                       ActionTimeoutOption>
    optionsAdapter(setTouchSettingsCommandInfo);
} // namespace

void SetTouchSettingsDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                     std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    TouchSettings settings;
    settings.mode = optionsAdapter.value<TouchModeOption>(vm);
    settings.presentTimeLimit = optionsAdapter.value<PresentTimeLimitOption>(vm);
    settings.actionTimeout = optionsAdapter.value<ActionTimeoutOption>(vm);
    logging::CommandRecord record{setTouchSettingsCommandInfo.commandName(), {}, {}};
    logging::addOption(record, touchModeOptionAttributes.key.name, settings.mode);
    logging::addOption(record, userPresentTimeLimitOptionAttributes.key.name, settings.presentTimeLimit);
    logging::addOption(record, userActionTimeoutOptionAttributes.key.name, settings.actionTimeout);
    runAuthPinCommand(
        *vm, std::move(record), authPinParamsDto,
        [settings](Token& token, const std::string& soPin) { token.setTouchSettings(soPin, settings); }, *strategy,
        std::move(logger), tokenManager);
}

const BaseCommandInfo& SetTouchSettingsDispatcher::getCommandInfo() const
{
    return setTouchSettingsCommandInfo;
}

boost::program_options::options_description
SetTouchSettingsDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
