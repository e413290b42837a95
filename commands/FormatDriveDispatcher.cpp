#include "commands/FormatDriveDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/DomainError.h"
#include "cli/TypedCliOption.h"
#include "commands/logCommandRecord.h"
#include "commands/makeSharedPin.h"
#include "commands/pinRoles.h"
#include "commands/preparePinManagers.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "pin/wipeString.h"
#include "pkcs11/ScopeGuard.h"
#include "token/BaseStrategy.h"
#include "token/FormatDriveParams.h"
#include "token/Token.h"
#include "token/tokenOperations.h"
#include "token/types/AccessMode.h"
#include "token/types/LocalUserId.h"
#include "token/types/MvaId.h"
#include "token/types/SectionType.h"
#include "token/types/UserType.h"
#include "token/types/VolumeOwner.h"
#include "token/types/VolumeParams.h"
#include "token/types/checkOwnersCombination.h"

#include <boost/format.hpp>

#include <sstream>

namespace format_drive_options {

using namespace pin_options;

// The help names exactly the words the volume reader accepts.
std::string volumeDescription(const std::string& pattern)
{
    const auto sectionText = [](SectionType type) {
        std::ostringstream text;
        text << type;
        return text.str();
    };
    return (boost::format(pattern) % *toString(AccessMode::Hidden) % *toString(AccessMode::ReadOnly) %
            *toString(AccessMode::ReadWrite) % *toString(AccessMode::CdRom) % *toString(UserType::So) %
            *toString(UserType::User) % LocalUserId::prefix % MvaId::prefix % *toString(UserType::User) %
            MvaId::prefix % None::text % sectionText(SectionType::UserFiles) % sectionText(SectionType::Journal))
        .str();
}

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const TypedOptionAttributes<std::vector<VolumeParams>> volumeOptionAttributes{
    {"volume", std::nullopt},
    {volumeDescription("<Size>:<Access mode>:<Owner>:<Section type> ...\nParameters description:\n  Size - volume "
                       "size in Mb.\n  Access mode - access flags to volume.\n  Possible values:\n    %1% - hidden;\n "
                       "   %2% - read only;\n    %3% - read/write;\n    %4% - CD-ROM emulation.\n  Owner - volume "
                       "owner.\n  Possible values:\n    %5% - admin;\n    %6% - user;\n    %7%X - local user X, where "
                       "X is identifier.\n    %8%X - MVA, where X is the MVA identifier.\n    %9%,%10%X - "
                       "combination of owners.\n    %11% - unprotected volume.\n  Section type - defines the purpose "
                       "of the section.\n  Possible values:\n    %12% - section for user files;\n    %13% - section "
                       "for the security event log."),
     volumeDescription("<Размер>:<Режим доступа>:<Владелец>:<Тип раздела> ...\nОписание параметров:\n  Размер - "
                       "размер тома в МБ.\n  Режим доступа - флаги доступа к тому.\n  Возможные значения:\n    %1% - "
                       "скрытый;\n    %2% - только чтение;\n    %3% - чтение и запись;\n    %4% - эмуляция "
                       "CD-ROM.\n  Владелец - владелец тома.\n  Возможные значения:\n    %5% - администратор;\n    "
                       "%6% - пользователь;\n    %7%X - локальный пользователь X, где X - идентификатор.\n    %8%X - "
                       "MVA, где X - идентификатор MVA.\n    %9%,%10%X - сочетание владельцев.\n    %11% - "
                       "незащищённый том.\n  Тип раздела - назначение раздела.\n  Возможные значения:\n    %12% - "
                       "раздел для файлов пользователя;\n    %13% - раздел журнала событий безопасности.")},
    std::nullopt,
    std::nullopt,
    true,
    true,
    nullptr};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using VolumeOption = TypedCliOption<&volumeOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, VolumeOption>
    formatDriveCommandInfo("format-drive", CommandCategory::TokenManagement,
                           {"Format flash memory.", "Форматировать флеш-память."});

} // namespace format_drive_options

namespace {
using namespace format_drive_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, VolumeOption>
    optionsAdapter(formatDriveCommandInfo);

// Refuses the first volume, in the order given, whose owners no token could protect it with.
void checkOwners(const std::vector<VolumeParams>& volumes)
{
    for (const auto& volume : volumes) {
        if (!checkOwnersCombination(volume.owners)) {
            throw InvalidVolumeOwnerCombinationError();
        }
        if (volume.owners.size() == 1 && volume.owners.front().getType() == VolumeOwner::Type::None &&
            volume.sectionType != SectionType::Journal) {
            throw NoneOwnerNotAllowedError();
        }
    }
}

} // namespace

void FormatDriveDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const auto managers = preparePinManagers(*vm, {&authPinParamsDto});
    auto volumes = optionsAdapter.value<VolumeOption>(vm);
    logging::CommandRecord record{formatDriveCommandInfo.commandName(), {}, {}};
    logging::addOption(record, volumeOptionAttributes.key.name, volumes);
    logCommandRecord(*logger, std::move(record), managers);
    const auto authPin = makeSharedPin(managers.front().getPin(0));
    checkOwners(volumes);

    auto operation = [authPin, volumes = std::move(volumes)](std::shared_ptr<logging::BaseLogger>, Token& token) {
        FormatDriveParams params{*authPin, volumes};
        auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&params] { wipeString(params.authPin); });
        token.formatDrive(params);
    };
    strategy->execute(token_operations::createLoggingApplier(operation, logger), tokenManager, true);
}

const BaseCommandInfo& FormatDriveDispatcher::getCommandInfo() const
{
    return formatDriveCommandInfo;
}

boost::program_options::options_description FormatDriveDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
