#include "ToolArguments.h"
#include "ToolCommand.h"

#include <ostream>

namespace qvtoken::tool {

int runReplug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {}, {});
    if (args.positionals().empty())
        throw UsageError("Name the tokens to replug.");
    for (const auto& word : args.positionals()) {
        const auto serial = parseNumber(word, "serial");
        store.modify(serial, [](TokenState& token) { token.replug(); });
        out << "replugged " << serial << '\n';
    }
    return 0;
}

} // namespace qvtoken::tool
