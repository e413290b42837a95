#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/Errors.h>

#include <filesystem>
#include <ostream>
#include <set>

namespace qvtoken::tool {

namespace {

// Actions of a card fault rule and whether each needs an argument.
bool needsArgument(const std::string& action)
{
    static const std::set<std::string> withArgument = {"reply", "sw",   "6C",           "61-chunk",
                                                       "delay", "hold", "replug-serial"};
    static const std::set<std::string> without = {"close", "no-replug"};
    if (withArgument.count(action) != 0)
        return true;
    if (without.count(action) != 0)
        return false;
    throw UsageError("Unknown card fault action: " + action + ".");
}

std::optional<unsigned char> byteOption(const ToolArguments& args, const std::string& name)
{
    const auto text = args.option(name);
    if (!text)
        return std::nullopt;
    const auto value = parseNumber("0x" + *text, "--" + name);
    if (value > 0xFF)
        throw UsageError("--" + name + " takes one hex byte.");
    return static_cast<unsigned char>(value);
}

Bytes hexArgument(const std::string& text, const std::string& what)
{
    try {
        return fromHex(text);
    } catch (const StateError&) {
        throw UsageError("Not hex bytes for " + what + ": " + text);
    }
}

// Checks the argument as the card will read it, so a rule never fails inside the card.
void checkArgument(const std::string& action, const std::string& argument)
{
    if (action == "reply" && hexArgument(argument, "reply").empty())
        throw UsageError("reply needs at least one byte.");
    if (action == "sw" && hexArgument(argument, "sw").size() != 2)
        throw UsageError("sw takes two hex bytes, e.g. 6A82.");
    if (action == "6C" && hexArgument(argument, "6C").size() != 1)
        throw UsageError("6C takes one hex byte.");
    if (action == "61-chunk" || action == "delay" || action == "replug-serial")
        parseNumber(argument, action);
    if (action == "close" && !argument.empty() && argument != "never")
        parseNumber(argument, "close");
    // The card process looks for the file from a working folder of its own.
    if (action == "hold" && !std::filesystem::path(argument).is_absolute())
        throw UsageError("hold takes the absolute path of a file.");
}

} // namespace

int runCardFault(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {"once", "always", "clear", "after-replug"},
                             {"times", "nth", "cla", "cla-mask", "ins", "p1", "p2", "data", "control"});
    const auto& positionals = args.positionals();
    const std::uint64_t serial = serialArgument(positionals);
    if (args.flag("clear")) {
        if (positionals.size() != 1)
            throw UsageError("card-fault SERIAL --clear takes nothing else.");
        store.modify(serial, [](TokenState& token) { token.cardFaults.clear(); });
        out << "cleared card faults of " << serial << '\n';
        return 0;
    }
    if (positionals.size() < 2)
        throw UsageError("card-fault needs SERIAL ACTION.");
    CardFault fault;
    fault.action = positionals[1];
    const bool argumentNeeded = needsArgument(fault.action);
    if (positionals.size() > 3 || (argumentNeeded && positionals.size() != 3) ||
        (!argumentNeeded && positionals.size() == 3 && fault.action != "close")) {
        throw UsageError("card-fault " + fault.action +
                         (argumentNeeded ? " takes one argument." : " takes no argument."));
    }
    fault.argument = positionals.size() == 3 ? positionals[2] : "";
    checkArgument(fault.action, fault.argument);
    fault.cla = byteOption(args, "cla");
    fault.claMask = byteOption(args, "cla-mask");
    fault.ins = byteOption(args, "ins");
    fault.p1 = byteOption(args, "p1");
    fault.p2 = byteOption(args, "p2");
    fault.control = byteOption(args, "control");
    if (auto data = args.option("data"))
        fault.dataPrefix = hexArgument(*data, "--data");
    if (fault.control && (fault.ins || fault.cla || fault.p1 || fault.p2 || !fault.dataPrefix.empty()))
        throw UsageError("--control matches a vpcd control byte, not an APDU.");
    fault.nth = args.numberOption("nth").value_or(0);
    fault.afterReplug = args.flag("after-replug");
    fault.count = timesOf(args);
    store.modify(serial, [&](TokenState& token) { token.cardFaults.push_back(fault); });
    out << "card fault set on " << serial << ": " << fault.action << '\n';
    return 0;
}

} // namespace qvtoken::tool
