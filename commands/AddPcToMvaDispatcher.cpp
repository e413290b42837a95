#include "commands/AddPcToMvaDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/logCommandRecord.h"
#include "commands/makeSharedPin.h"
#include "commands/mvaIdAttributes.h"
#include "commands/pinRoles.h"
#include "commands/preparePinManagers.h"
#include "flash/getPcSnapshot.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/AddSnapshotToMvaParams.h"
#include "token/BaseStrategy.h"
#include "token/Token.h"
#include "token/tokenOperations.h"

namespace add_pc_to_mva_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const TypedOptionAttributes<unsigned short> mvaIdOptionAttributes = mvaIdAttributes();

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using MvaIdOption = TypedCliOption<&mvaIdOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, MvaIdOption>
    addPcToMvaCommandInfo("add-pc-to-mva", CommandCategory::MvaManagement,
                          {"Add the host PC to an MVA.", "Добавить этот компьютер в MVA."});

} // namespace add_pc_to_mva_options

namespace {
using namespace add_pc_to_mva_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, MvaIdOption>
    optionsAdapter(addPcToMvaCommandInfo);
} // namespace

void AddPcToMvaDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                               std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const auto managers = preparePinManagers(*vm, {&authPinParamsDto});
    const auto mvaId = optionsAdapter.value<MvaIdOption>(vm);
    logging::CommandRecord record{addPcToMvaCommandInfo.commandName(), {}, {}};
    logging::addOption(record, mvaIdOptionAttributes.key.name, mvaId);
    logCommandRecord(*logger, std::move(record), managers);

    const auto authPin = makeSharedPin(managers.front().getPin(0));
    // One snapshot for the run: every token records the same host.
    const auto params = std::make_shared<const AddSnapshotToMvaParams>(AddSnapshotToMvaParams{mvaId, getPcSnapshot()});
    auto operation = [authPin, params](std::shared_ptr<logging::BaseLogger>, Token& token) {
        token.addSnapshotToMva(*authPin, *params);
    };
    strategy->execute(token_operations::createLoggingApplier(operation, logger), tokenManager, true);
}

const BaseCommandInfo& AddPcToMvaDispatcher::getCommandInfo() const
{
    return addPcToMvaCommandInfo;
}

boost::program_options::options_description AddPcToMvaDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
