#include "ToolArguments.h"
#include "ToolCommand.h"

#include <algorithm>
#include <ostream>

namespace qvtoken::tool {

namespace {

// The module entries a fault may name.
const std::vector<std::string>& entryNames()
{
    static const std::vector<std::string> names = {
        "C_Initialize",
        "C_GetInfo",
        "C_GetSlotList",
        "C_GetSlotList:list",
        "C_GetSlotInfo",
        "C_GetTokenInfo",
        "C_GetMechanismList",
        "C_InitPIN",
        "C_SetPIN",
        "C_OpenSession",
        "C_CloseSession",
        "C_Login",
        "C_Logout",
        "C_GetAttributeValue",
        "C_SetAttributeValue",
        "C_FindObjectsInit",
        "C_FindObjects",
        "C_FindObjectsFinal",
        "C_EX_InitToken",
        "C_EX_GetTokenInfoExtended",
        "C_EX_UnblockUserPIN",
        "C_EX_SetTokenName",
        "C_EX_GetTokenName",
        "C_EX_SetLocalPIN",
        "C_EX_GetVolumesInfo",
        "C_EX_GetDriveSize",
        "C_EX_ChangeVolumeAttributes",
        "C_EX_FormatDrive",
        "C_EX_TokenManage",
        "C_EX_SlotManage",
    };
    return names;
}

} // namespace

int runFault(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {"once", "always", "clear"}, {"times", "skip"});
    const auto& positionals = args.positionals();
    const std::uint64_t serial = serialArgument(positionals);
    if (args.flag("clear")) {
        if (positionals.size() != 1)
            throw UsageError("fault SERIAL --clear takes nothing else.");
        store.modify(serial, [](TokenState& token) { token.moduleFaults.clear(); });
        out << "cleared module faults of " << serial << '\n';
        return 0;
    }
    if (positionals.size() != 3)
        throw UsageError("fault needs SERIAL ENTRY RV.");
    const std::string& entry = positionals[1];
    const auto& names = entryNames();
    if (std::find(names.begin(), names.end(), entry) == names.end())
        throw UsageError("Unknown module entry: " + entry);
    ModuleFault fault;
    fault.entry = entry;
    fault.rv = parseNumber(positionals[2], "RV");
    fault.skip = args.numberOption("skip").value_or(0);
    fault.times = timesOf(args);
    store.modify(serial, [&](TokenState& token) { token.moduleFaults.push_back(fault); });
    out << "fault set on " << serial << ": " << entry << '\n';
    return 0;
}

} // namespace qvtoken::tool
