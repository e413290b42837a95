#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenPresets.h>

#include <algorithm>
#include <ostream>

namespace qvtoken::tool {

namespace {

// Two tokens in one slot would hide one of them from the module.
void refuseTakenSlot(const std::vector<TokenState>& existing, const TokenState& token)
{
    for (const auto& other : existing) {
        if (other.serial == token.serial) throw TokenExistsError(std::to_string(token.serial));
        if (other.slotId == token.slotId)
            throw UsageError("Slot " + std::to_string(token.slotId) + " is taken by token " + std::to_string(other.serial) +
                             "; choose another with --slot.");
    }
}

}  // namespace

int runCreate(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {}, {"serial", "slot", "label"});
    const auto& names = args.positionals();
    if (names.empty()) throw UsageError("Name at least one preset (see `qvtoken presets`).");
    const bool customised = args.option("serial") || args.option("slot") || args.option("label");
    if (customised && names.size() != 1) throw UsageError("--serial, --slot and --label apply to a single preset.");

    // Build and check every token before writing any, so a bad name creates nothing.
    std::vector<TokenState> tokens;
    for (const auto& name : names) {
        TokenState token = makePreset(name);
        if (auto serial = args.option("serial")) token.serial = parseNumber(*serial, "--serial");
        if (auto slot = args.option("slot")) {
            token.slotId = parseNumber(*slot, "--slot");
            token.slotDescription = "Virtual token reader " + std::to_string(token.slotId);
        }
        if (auto label = args.option("label")) token.label = token.defaultLabel = *label;
        tokens.push_back(std::move(token));
    }
    std::vector<TokenState> existing = store.loadAll();
    for (const auto& token : tokens) {
        refuseTakenSlot(existing, token);
        existing.push_back(token);
    }
    for (const auto& token : tokens) {
        store.create(token);
        out << "created " << token.serial << " in slot " << token.slotId << '\n';
    }
    return 0;
}

}  // namespace qvtoken::tool
