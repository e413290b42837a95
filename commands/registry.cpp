#include "commands/registry.h"

#include "cli/ParamParser.h"
#include "cli/VersionCommand.h"
#include "flash/handleStatusCode.h"
#include "token/TokenManager.h"

#include <memory>

void registerWhats(quorvik::pkcs11::Pkcs11&) {}

void registerWhatsQvflash()
{
    quorvik::qvflash::registerWhat(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "Journal section already exists.");
}

void registerCommands(ParamParser& parser, TokenManager&)
{
    parser.registerCommand(std::make_shared<VersionCommand>());
}
