#include "ToolArguments.h"
#include "ToolCommand.h"

#include <ostream>

namespace qvtoken::tool {

namespace {

std::vector<std::uint64_t> serialsOf(const ToolArguments& args)
{
    if (args.positionals().empty()) throw UsageError("A token serial is required.");
    std::vector<std::uint64_t> serials;
    for (const auto& word : args.positionals()) serials.push_back(parseNumber(word, "serial"));
    return serials;
}

}  // namespace

// A running qvtoken-card sees the change within its next scan of the state directory.
int runPlug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    for (const auto serial : serialsOf(ToolArguments(words, {}, {}))) {
        store.modify(serial, [](TokenState& token) {
            if (token.card.plugged) return;
            token.card.plugged = true;
            token.replug();
        });
        out << "plugged " << serial << '\n';
    }
    return 0;
}

int runUnplug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    for (const auto serial : serialsOf(ToolArguments(words, {}, {}))) {
        store.modify(serial, [](TokenState& token) { token.card.plugged = false; });
        out << "unplugged " << serial << '\n';
    }
    return 0;
}

}  // namespace qvtoken::tool
