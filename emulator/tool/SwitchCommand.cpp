#include "ToolArguments.h"
#include "ToolCommand.h"

#include <map>
#include <ostream>

namespace qvtoken::tool {

namespace {

const std::map<std::string, bool ModuleSwitches::*>& switchFields()
{
    static const std::map<std::string, bool ModuleSwitches::*> fields = {
        {"listed-not-present", &ModuleSwitches::listedNotPresent},
        {"duplicate-slot-id", &ModuleSwitches::duplicateSlotId},
        {"no-tls-query", &ModuleSwitches::noTlsQuery},
        {"unblock-resets-local-pins", &ModuleSwitches::unblockResetsLocalPins},
        {"enforce-pin-expired", &ModuleSwitches::enforcePinExpired},
        {"enforce-policy-modifiable", &ModuleSwitches::enforcePolicyModifiable},
    };
    return fields;
}

} // namespace

int runSwitch(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {}, {});
    const auto& positionals = args.positionals();
    const std::uint64_t serial = serialArgument(positionals);
    if (positionals.size() != 3 || (positionals[2] != "on" && positionals[2] != "off")) {
        std::string names;
        for (const auto& [name, field] : switchFields())
            names += " " + name;
        throw UsageError("switch needs SERIAL NAME on|off; names:" + names);
    }
    auto it = switchFields().find(positionals[1]);
    if (it == switchFields().end())
        throw UsageError("Unknown switch: " + positionals[1]);
    const bool on = positionals[2] == "on";
    store.modify(serial, [&](TokenState& token) { token.switches.*(it->second) = on; });
    out << positionals[1] << ' ' << positionals[2] << " for " << serial << '\n';
    return 0;
}

} // namespace qvtoken::tool
