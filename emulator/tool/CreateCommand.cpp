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
        if (other.serial == token.serial)
            throw TokenExistsError(std::to_string(token.serial));
        if (other.slotId == token.slotId)
            throw UsageError("Slot " + std::to_string(token.slotId) + " is taken by token " +
                             std::to_string(other.serial) + "; choose another with --slot.");
    }
}

// Without a named preset: one full-featured token in the next free serial and slot, so a scene
// of any size is that many plain `create` calls.
TokenState freshFullToken(const std::vector<TokenState>& existing)
{
    TokenState token = makePreset("full");
    unsigned long slotId = token.slotId;
    for (const auto& other : existing) {
        token.serial = std::max(token.serial, other.serial + 1);
        slotId = std::max(slotId, other.slotId + 1);
    }
    placeInSlot(token, slotId);
    return token;
}

} // namespace

int runCreate(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {}, {"serial", "slot", "label"});
    const auto& names = args.positionals();
    const bool customised = args.option("serial") || args.option("slot") || args.option("label");
    if (customised && names.size() > 1)
        throw UsageError("--serial, --slot and --label apply to a single preset.");
    // Free serials and slots are only known when every token file reads.
    std::vector<TokenState> existing = store.loadAll([](const StateError&) { throw; });

    // Build and check every token before writing any, so a bad name creates nothing.
    std::vector<TokenState> tokens;
    for (std::size_t i = 0; i < std::max<std::size_t>(names.size(), 1); ++i) {
        TokenState token = names.empty() ? freshFullToken(existing) : makePreset(names[i]);
        if (auto serial = args.option("serial"))
            token.serial = parseNumber(*serial, "--serial");
        if (auto slot = args.option("slot"))
            placeInSlot(token, parseNumber(*slot, "--slot"));
        if (auto label = args.option("label"))
            token.label = token.defaultLabel = *label;
        tokens.push_back(std::move(token));
    }
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

} // namespace qvtoken::tool
