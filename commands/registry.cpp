#include "commands/registry.h"

#include "cli/ParamParser.h"
#include "cli/VersionCommand.h"
#include "commands/ForcedPinChangeDispatcher.h"
#include "commands/SetLabelDispatcher.h"
#include "commands/SetPinPolicyDispatcher.h"
#include "commands/SetSoPinDispatcher.h"
#include "commands/SetTouchSettingsDispatcher.h"
#include "commands/SetUserPinDispatcher.h"
#include "commands/UnblockPinsDispatcher.h"
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

// The order of registration is the order of the help listing within each category.
void registerCommands(ParamParser& parser, TokenManager& tokenManager)
{
    registerTokenCommand<SetSoPinDispatcher>(parser, tokenManager);
    registerTokenCommand<SetUserPinDispatcher>(parser, tokenManager);
    registerTokenCommand<ForcedPinChangeDispatcher>(parser, tokenManager);
    registerTokenCommand<UnblockPinsDispatcher>(parser, tokenManager);
    registerTokenCommand<SetLabelDispatcher>(parser, tokenManager);
    registerTokenCommand<SetPinPolicyDispatcher>(parser, tokenManager);
    registerTokenCommand<SetTouchSettingsDispatcher>(parser, tokenManager);
    parser.registerCommand(std::make_shared<TokenInfoCommand>(tokenManager));
    parser.registerCommand(std::make_shared<VersionCommand>());
    parser.registerCommand(std::make_shared<ListTokensCommand>(tokenManager));
}
