#include "commands/CreateLocalPinDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/localIdOption.h"
#include "commands/newPinGenSettingsDefault.h"
#include "commands/pinRoles.h"
#include "commands/runNewPinCommand.h"
#include "commands/wipePinsOnExit.h"
#include "logging/LocalPinIdRecord.h"
#include "logging/addOption.h"
#include "pin/PinGenSettingsCliOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/SetLocalPinParams.h"
#include "token/Token.h"

#include <optional>

namespace create_local_pin_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::User);
const PinParamsDto newPinParamsDto = pin_roles::newPinRole(PinBelonging::LocalUser);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const PinInputOptionAttributes newPinInputOptionAttributes{&newPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes newPinValueOptionAttributes{&newPinParamsDto, std::nullopt, std::nullopt};
const PinGenSettingsOptionAttributes newPinGenSettingsOptionAttributes{&newPinParamsDto, newPinGenSettingsDefault,
                                                                       std::nullopt};
const TypedOptionAttributes<LocalIdValue> localUserIdOptionAttributes = localIdAttributes(false);

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using NewPinInputOption = PinInputModeCliOption<&newPinInputOptionAttributes>;
using NewPinValueOption = PinValueCliOption<&newPinValueOptionAttributes>;
using NewPinGenSettingsOption = PinGenSettingsCliOption<&newPinGenSettingsOptionAttributes>;
using LocalUserIdOption = TypedCliOption<&localUserIdOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption, NewPinGenSettingsOption,
                  LocalUserIdOption>
    createLocalPinCommandInfo("create-local-pin", CommandCategory::PinManagement,
                              {"Create local PIN.", "Создать локальный PIN-код."});

} // namespace create_local_pin_options

namespace {
using namespace create_local_pin_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, NewPinInputOption, NewPinValueOption,
                                       NewPinGenSettingsOption, LocalUserIdOption>
    optionsAdapter(createLocalPinCommandInfo);
} // namespace

void CreateLocalPinDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                   std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    logging::CommandRecord record{createLocalPinCommandInfo.commandName(), {}, {}};
    std::optional<LocalUserId> id;
    if (vm->count(localUserIdOptionAttributes.key.name) != 0) {
        const auto given = optionsAdapter.value<LocalUserIdOption>(vm);
        id = toLocalUserId(given);
        logging::addOption(record, localUserIdOptionAttributes.key.name, given);
    }
    // The applier hands every token's operation this same logger.
    auto localPinTarget = [id, logger](Token& token, const std::string& authPin) {
        // Without an id the token names the local PIN, and says which only on success.
        const std::string role = id ? toString(*id) : std::string("local");
        return NewPinTarget{
            {token.getSerialNumber(), pin_roles::kNewPinKey, role, [&token] { return token.getUserPinLengths(); }},
            [&token, &authPin, id, logger](const std::string& newPin) {
                SetLocalPinParams params{authPin, newPin};
                const auto wipe = wipePinsOnExit(params);
                if (id) {
                    token.createLocalPin(*id, params);
                    return toString(*id);
                }
                const auto chosen = token.createLocalPin(params);
                logger->add(token.getSerialNumber(), logging::LocalPinIdRecord{chosen.get()});
                return toString(chosen);
            }};
    };
    runNewPinCommand(*vm, std::move(record), authPinParamsDto, newPinParamsDto, localPinTarget, *strategy, logger,
                     tokenManager);
}

const BaseCommandInfo& CreateLocalPinDispatcher::getCommandInfo() const
{
    return createLocalPinCommandInfo;
}

boost::program_options::options_description CreateLocalPinDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
