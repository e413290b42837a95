#include "ToolArguments.h"
#include "ToolCommand.h"

#include <ostream>

namespace qvtoken::tool {

int runRemove(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {"all"}, {});
    std::vector<std::uint64_t> serials;
    if (args.flag("all")) {
        if (!args.positionals().empty())
            throw UsageError("Give serials or --all, not both.");
        // Damaged files go too.
        serials = store.serials();
    } else {
        if (args.positionals().empty())
            throw UsageError("Name the tokens to remove, or --all.");
        for (const auto& word : args.positionals())
            serials.push_back(parseNumber(word, "serial"));
    }
    for (auto serial : serials) {
        store.remove(serial);
        out << "removed " << serial << '\n';
    }
    return 0;
}

} // namespace qvtoken::tool
