#include "ToolArguments.h"
#include "ToolCommand.h"

namespace qvtoken::tool {

const std::vector<ToolCommand>& toolCommands()
{
    static const std::vector<ToolCommand> commands = {
        {"presets", "presets", "list the presets a token can be created from", runPresets},
        {"create", "create [PRESET...] [--serial N] [--slot N] [--label TEXT]",
         "create tokens from presets; without one, a full-featured token in the next free serial and slot "
         "(serial, slot and label apply to a single token)",
         runCreate},
        {"list", "list", "one line per token: serial, slot, label, class, drive, plugged", runList},
        {"show", "show SERIAL", "print a token's whole state", runShow},
        {"remove", "remove SERIAL... | remove --all", "delete tokens", runRemove},
        {"fault", "fault SERIAL ENTRY RV [--once | --always | --times N] [--skip N] | fault SERIAL --clear",
         "make a module entry return RV for this token (once by default)", runFault},
        {"switch", "switch SERIAL NAME on|off", "set a module behaviour switch of a token", runSwitch},
        {"replug", "replug SERIAL...", "pull tokens out and plug them in again: temporary access modes end", runReplug},
    };
    return commands;
}

std::uint64_t serialArgument(const std::vector<std::string>& positionals)
{
    if (positionals.empty()) throw UsageError("A token serial is required.");
    return parseNumber(positionals.front(), "serial");
}

}  // namespace qvtoken::tool
