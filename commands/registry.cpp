#include "commands/registry.h"

#include "cli/ParamParser.h"
#include "cli/VersionCommand.h"
#include "commands/AddPcToMvaDispatcher.h"
#include "commands/ClearMvaDispatcher.h"
#include "commands/CreateLocalPinDispatcher.h"
#include "commands/CreateMvaDispatcher.h"
#include "commands/ForcedPinChangeDispatcher.h"
#include "commands/FormatDispatcher.h"
#include "commands/FormatDriveDispatcher.h"
#include "commands/SetLabelDispatcher.h"
#include "commands/SetLocalPinDispatcher.h"
#include "commands/SetPinPolicyDispatcher.h"
#include "commands/SetSoPinDispatcher.h"
#include "commands/SetTouchSettingsDispatcher.h"
#include "commands/SetUserPinDispatcher.h"
#include "commands/UnblockPinsDispatcher.h"
#include "commands/VolumeAccessDispatcher.h"
#include "flash/handleStatusCode.h"
#include "token/DispatchCommand.h"
#include "token/ListTokensCommand.h"
#include "token/TokenInfoCommand.h"
#include "token/TokenManager.h"

#include <memory>

namespace {

template <typename Dispatcher>
void registerTokenCommand(ParamParser& parser, TokenManager& tokenManager)
{
    parser.registerCommand(std::make_shared<DispatchCommand>(&tokenManager, std::make_shared<Dispatcher>()));
}

} // namespace

void registerWhats(quorvik::pkcs11::Pkcs11&) {}

void registerWhatsQvflash()
{
    quorvik::qvflash::registerWhat(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "Journal section already exists.");
}

// The help lists the commands by category, sorted by name within each, whatever the order here.
void registerCommands(ParamParser& parser, TokenManager& tokenManager)
{
    registerTokenCommand<SetSoPinDispatcher>(parser, tokenManager);
    registerTokenCommand<SetUserPinDispatcher>(parser, tokenManager);
    registerTokenCommand<SetLocalPinDispatcher>(parser, tokenManager);
    registerTokenCommand<ForcedPinChangeDispatcher>(parser, tokenManager);
    registerTokenCommand<CreateLocalPinDispatcher>(parser, tokenManager);
    registerTokenCommand<FormatDispatcher>(parser, tokenManager);
    registerTokenCommand<FormatDriveDispatcher>(parser, tokenManager);
    registerTokenCommand<UnblockPinsDispatcher>(parser, tokenManager);
    registerTokenCommand<SetLabelDispatcher>(parser, tokenManager);
    registerTokenCommand<SetPinPolicyDispatcher>(parser, tokenManager);
    registerTokenCommand<VolumeAccessDispatcher>(parser, tokenManager);
    registerTokenCommand<SetTouchSettingsDispatcher>(parser, tokenManager);
    registerTokenCommand<CreateMvaDispatcher>(parser, tokenManager);
    registerTokenCommand<ClearMvaDispatcher>(parser, tokenManager);
    registerTokenCommand<AddPcToMvaDispatcher>(parser, tokenManager);
    parser.registerCommand(std::make_shared<TokenInfoCommand>(tokenManager));
    parser.registerCommand(std::make_shared<VersionCommand>());
    parser.registerCommand(std::make_shared<ListTokensCommand>(tokenManager));
}
