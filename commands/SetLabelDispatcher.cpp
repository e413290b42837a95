#include "commands/SetLabelDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/checkLabelText.h"
#include "commands/pinRoles.h"
#include "commands/runAuthPinCommand.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"

namespace set_label_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::User);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const TypedOptionAttributes<std::string> labelOptionAttributes{
    {"label", 'l'}, {"New label.", "Новая метка."}, std::nullopt, std::nullopt, true, false, nullptr};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using LabelOption = TypedCliOption<&labelOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, LabelOption>
    setLabelCommandInfo("set-label", CommandCategory::TokenManagement,
                        {"Set token label.", "Установить метку токена."});

} // namespace set_label_options

namespace {
using namespace set_label_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, LabelOption>
    optionsAdapter(setLabelCommandInfo);
} // namespace

void SetLabelDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const std::string label = optionsAdapter.value<LabelOption>(vm);
    checkLabelText(label, labelOptionAttributes.key.name);
    logging::CommandRecord record{setLabelCommandInfo.commandName(), {}, {}};
    logging::addOption(record, labelOptionAttributes.key.name, label);
    runAuthPinCommand(
        *vm, std::move(record), authPinParamsDto,
        [label](Token& token, const std::string& userPin) { token.setLabel(userPin, label); }, *strategy,
        std::move(logger), tokenManager);
}

const BaseCommandInfo& SetLabelDispatcher::getCommandInfo() const
{
    return setLabelCommandInfo;
}

boost::program_options::options_description SetLabelDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
