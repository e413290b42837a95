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
        {"plug", "plug SERIAL... [--wait [--timeout-ms N]]",
         "plug tokens in: a running qvtoken-card attaches them as cards; --wait returns once pcscd shows them "
         "(exit status 1 after N ms, default 10000)",
         runPlug},
        {"unplug", "unplug SERIAL... [--wait [--timeout-ms N]]",
         "pull tokens out: their cards leave pcscd; --wait returns once every reader is empty or holds another "
         "token's card",
         runUnplug},
        {"model",
         "model SERIAL [--hardware M.N] [--firmware M.N] [--class N] [--feature-number N] [--name TEXT | --no-name]",
         "set what the model identification reads: versions, token class, extended field 24 and the "
         "self-identified model name (--no-name removes the token-info object)",
         runModel},
        {"card",
         "card SERIAL [--protocol t0|t1] [--marker TEXT] [--raw-atr HEX] [--chunk N] [--away-ms N] "
         "[--total-flash N] [--ext-info HEX|unsupported]",
         "change a token's card settings (the ATR from the next plug-in on)", runCard},
        {"card-fault",
         "card-fault SERIAL ACTION [ARG] [--ins XX] [--cla XX] [--cla-mask XX] [--p1 XX] [--p2 XX] [--data HEX] "
         "[--control XX] [--nth N] [--after-replug] [--once | --always | --times N] | card-fault SERIAL --clear",
         "make the card misbehave on matching commands: reply HEX, sw XXXX, 6C XX, 61-chunk N, close [MS|never], "
         "delay MS, hold FILE (answer once FILE is gone), no-replug, replug-serial N (once by default). "
         "Examples: refuse GET DATA always (sw 6A82 --ins CA --always); 61xx forever (sw 6110 --ins C0 "
         "--always); pull out on the next 80 40 (close --ins 40)",
         runCardFault},
    };
    return commands;
}

std::uint64_t serialArgument(const std::vector<std::string>& positionals)
{
    if (positionals.empty())
        throw UsageError("A token serial is required.");
    return parseNumber(positionals.front(), "serial");
}

} // namespace qvtoken::tool
