#include "commands/ForcedPinChangeDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "commands/pinRoles.h"
#include "commands/runAuthPinCommand.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"

namespace forced_pin_change_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption>
    forcedPinChangeCommandInfo("force-pin-change", CommandCategory::PinManagement,
                               {"Invalidate user PIN.", "Потребовать смены PIN-кода пользователя."});

} // namespace forced_pin_change_options

namespace {
using namespace forced_pin_change_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption>
    optionsAdapter(forcedPinChangeCommandInfo);
} // namespace

void ForcedPinChangeDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                    std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    runAuthPinCommand(
        *vm, {forcedPinChangeCommandInfo.commandName(), {}, {}}, authPinParamsDto,
        [](Token& token, const std::string& soPin) { token.enableForcedPinChangeMode(soPin); }, *strategy,
        std::move(logger), tokenManager);
}

const BaseCommandInfo& ForcedPinChangeDispatcher::getCommandInfo() const
{
    return forcedPinChangeCommandInfo;
}

boost::program_options::options_description ForcedPinChangeDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
