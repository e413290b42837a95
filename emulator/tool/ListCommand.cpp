#include "ToolArguments.h"
#include "ToolCommand.h"

#include <iomanip>
#include <ostream>

namespace qvtoken::tool {

int runList(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    if (!ToolArguments(words, {}, {}).positionals().empty())
        throw UsageError("list takes no arguments.");
    for (const auto& token : store.loadAll()) {
        out << std::left << std::setw(20) << token.serial << " slot " << std::setw(3) << token.slotId << " class "
            << token.tokenClass << (token.drive.present ? " drive" : " no-drive")
            << (token.card.plugged ? " plugged" : "") << (token.tls ? " tls" : "") << "  " << token.label << '\n';
    }
    return 0;
}

} // namespace qvtoken::tool
