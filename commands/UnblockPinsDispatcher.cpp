#include "commands/UnblockPinsDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "commands/pinRoles.h"
#include "commands/runAuthPinCommand.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"

namespace unblock_pins_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption>
    unblockPinsCommandInfo("unblock-pins", CommandCategory::TokenManagement,
                           {"Unblock user PIN, all local PINs, all MVAs.",
                            "Разблокировать PIN-код пользователя, все локальные PIN-коды и все MVA."});

} // namespace unblock_pins_options

namespace {
using namespace unblock_pins_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption> optionsAdapter(unblockPinsCommandInfo);
} // namespace

void UnblockPinsDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    runAuthPinCommand(
        *vm, {unblockPinsCommandInfo.commandName(), {}, {}}, authPinParamsDto,
        [](Token& token, const std::string& soPin) { token.unblockPins(soPin); }, *strategy, std::move(logger),
        tokenManager);
}

const BaseCommandInfo& UnblockPinsDispatcher::getCommandInfo() const
{
    return unblockPinsCommandInfo;
}

boost::program_options::options_description UnblockPinsDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
