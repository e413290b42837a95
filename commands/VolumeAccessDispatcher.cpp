#include "commands/VolumeAccessDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/CliError.h"
#include "cli/FlagCliOption.h"
#include "cli/TypedCliOption.h"
#include "commands/logCommandRecord.h"
#include "commands/makeSharedPin.h"
#include "commands/pinRoles.h"
#include "commands/preparePinManagers.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "pin/buildPinManager.h"
#include "pin/wipeString.h"
#include "pkcs11/ScopeGuard.h"
#include "token/BaseStrategy.h"
#include "token/SetVolumeAccessModeParams.h"
#include "token/Token.h"
#include "token/tokenOperations.h"
#include "token/types/AccessMode.h"

#include <boost/format.hpp>

namespace volume_access_options {

using namespace pin_options;

// The help names exactly the words the mode reader accepts.
std::string newModeDescription(const std::string& pattern)
{
    return (boost::format(pattern) % *toString(AccessMode::Hidden) % *toString(AccessMode::ReadOnly) %
            *toString(AccessMode::ReadWrite) % *toString(AccessMode::CdRom))
        .str();
}

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::VolumeOwner);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const FlagOptionAttributes noPinsAttributes{
    {"no-pins", std::nullopt},
    {"An option that allows specifying the token authentication method without providing a PIN code.",
     "Позволяет выбрать способ аутентификации на токене без ввода PIN-кода."}};
const TypedOptionAttributes<unsigned long> volumeIdOptionAttributes{{"volume-id", std::nullopt},
                                                                    {"Volume identifier.", "Идентификатор тома."},
                                                                    std::nullopt,
                                                                    std::nullopt,
                                                                    true,
                                                                    false,
                                                                    nullptr};
const TypedOptionAttributes<AccessMode> accessModeOptionAttributes{
    {"new-mode", std::nullopt},
    {newModeDescription("New access mode.\nPossible values:\n  %1% - hidden;\n  %2% - reading only;\n  %3% - "
                        "read/write;\n  %4% - CD-ROM emulation."),
     newModeDescription("Новый режим доступа.\nВозможные значения:\n  %1% - скрытый;\n  %2% - только чтение;\n  %3% - "
                        "чтение и запись;\n  %4% - эмуляция CD-ROM.")},
    std::nullopt,
    std::nullopt,
    true,
    false,
    nullptr};
const FlagOptionAttributes tempOptionAttributes{{"temp", std::nullopt},
                                                {"(Optional) Change access mode until token is disconnected.",
                                                 "(Необязательно) Изменить режим доступа до отключения токена."}};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using NoPinsOption = FlagCliOption<&noPinsAttributes>;
using VolumeIdOption = TypedCliOption<&volumeIdOptionAttributes>;
using AccessModeOption = TypedCliOption<&accessModeOptionAttributes>;
using TempOption = FlagCliOption<&tempOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, NoPinsOption, VolumeIdOption, AccessModeOption, TempOption>
    volumeAccessCommandInfo("set-volume-access-mode", CommandCategory::TokenManagement,
                            {"Set volume access mode.", "Установить режим доступа к тому."});

} // namespace volume_access_options

namespace {
using namespace volume_access_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, NoPinsOption, VolumeIdOption,
                                       AccessModeOption, TempOption>
    optionsAdapter(volumeAccessCommandInfo);
} // namespace

void VolumeAccessDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                 std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const auto volumeId = optionsAdapter.value<VolumeIdOption>(vm);
    const auto accessMode = optionsAdapter.value<AccessModeOption>(vm);
    const bool temporary = vm->count(tempOptionAttributes.key.name) != 0;
    const bool noPins = vm->count(noPinsAttributes.key.name) != 0;
    if (noPins && buildPinManager(authPinParamsDto).areRelatedOptionsPresent(*vm)) {
        throw OptionCompatibilityError(options::kAuthPinInputKey, noPinsAttributes.key.name);
    }
    std::vector<const PinParamsDto*> roles;
    if (!noPins) {
        roles.push_back(&authPinParamsDto);
    }
    const auto managers = preparePinManagers(*vm, roles);

    logging::CommandRecord record{volumeAccessCommandInfo.commandName(), {}, {}};
    logging::addOption(record, volumeIdOptionAttributes.key.name, volumeId);
    logging::addOption(record, accessModeOptionAttributes.key.name, accessMode);
    if (temporary) {
        record.flags.push_back(tempOptionAttributes.key.name);
    }
    if (noPins) {
        record.flags.push_back(noPinsAttributes.key.name);
    }
    logCommandRecord(*logger, std::move(record), managers);

    std::shared_ptr<const std::string> pin;
    if (!noPins) {
        pin = makeSharedPin(managers.front().getPin(0));
    }
    auto operation = [pin, accessMode, volumeId, temporary](std::shared_ptr<logging::BaseLogger>, Token& token) {
        SetVolumeAccessModeParams params{pin ? std::optional<std::string>(*pin) : std::nullopt, accessMode, volumeId,
                                         !temporary};
        auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&params] {
            if (params.pin) {
                wipeString(*params.pin);
            }
        });
        token.setVolumeAccessMode(params);
    };
    strategy->execute(token_operations::createLoggingApplier(operation, logger), tokenManager, true);
}

const BaseCommandInfo& VolumeAccessDispatcher::getCommandInfo() const
{
    return volumeAccessCommandInfo;
}

boost::program_options::options_description VolumeAccessDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
