#include "commands/registry.h"

#include "cli/ParamParser.h"
#include "cli/VersionCommand.h"
#include "token/TokenManager.h"

#include <memory>

void registerWhats(quorvik::pkcs11::Pkcs11&)
{
}

void registerWhatsQvflash()
{
    // The flash library bindings are not part of the program yet, so there is no
    // status text to register.
}

void registerCommands(ParamParser& parser, TokenManager&)
{
    parser.registerCommand(std::make_shared<VersionCommand>());
}
