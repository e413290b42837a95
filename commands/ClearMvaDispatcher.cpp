#include "commands/ClearMvaDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/mvaIdAttributes.h"
#include "commands/pinRoles.h"
#include "commands/runAuthPinCommand.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"

namespace clear_mva_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const TypedOptionAttributes<unsigned short> mvaIdOptionAttributes = mvaIdAttributes();

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using MvaIdOption = TypedCliOption<&mvaIdOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, MvaIdOption>
    clearMvaCommandInfo("clear-mva", CommandCategory::MvaManagement, {"Clear MVA.", "Очистить MVA."});

} // namespace clear_mva_options

namespace {
using namespace clear_mva_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, MvaIdOption>
    optionsAdapter(clearMvaCommandInfo);
} // namespace

void ClearMvaDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const auto mvaId = optionsAdapter.value<MvaIdOption>(vm);
    logging::CommandRecord record{clearMvaCommandInfo.commandName(), {}, {}};
    logging::addOption(record, mvaIdOptionAttributes.key.name, mvaId);
    runAuthPinCommand(
        *vm, std::move(record), authPinParamsDto,
        [mvaId](Token& token, const std::string& authPin) { token.clearMva(authPin, mvaId); }, *strategy,
        std::move(logger), tokenManager);
}

const BaseCommandInfo& ClearMvaDispatcher::getCommandInfo() const
{
    return clearMvaCommandInfo;
}

boost::program_options::options_description ClearMvaDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
