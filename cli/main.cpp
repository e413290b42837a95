#include "cli/ErrorReport.h"
#include "cli/ParamParser.h"
#include "cli/StandardOutput.h"
#include "cli/prepareProcess.h"
#include "cli/runSignals.h"
#include "commands/registry.h"
#include "pkcs11/Pkcs11.h"
#include "token/TokenManager.h"

int main(int argc, char** argv)
{
    prepareProcess();
    // Everything a failed run built is torn down, in reverse order, before the
    // error is reported.
    try {
        quorvik::pkcs11::Pkcs11 pkcs11(nullptr);
        registerWhats(pkcs11);
        TokenManager tokenManager(pkcs11);
        registerWhatsQvflash();
        ParamParser parser;
        registerCommands(parser, tokenManager);
        auto command = parser.parse(argc, argv);
        command->run();
        command.reset();
        flushStandardOutput();
        return run_signals::exitStatus(0);
    } catch (...) {
        return run_signals::exitStatus(reportCurrentException());
    }
}
