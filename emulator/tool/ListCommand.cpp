#include "ToolArguments.h"
#include "ToolCommand.h"

#include <iomanip>
#include <iostream>
#include <ostream>

namespace qvtoken::tool {

int runList(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    if (!ToolArguments(words, {}, {}).positionals().empty())
        throw UsageError("list takes no arguments.");
    // A damaged file is named on the error stream; the other tokens are still listed.
    bool damaged = false;
    const auto refused = [&damaged](const StateError& error) {
        std::cerr << "qvtoken: " << error.what() << '\n';
        damaged = true;
    };
    for (const auto& token : store.loadAll(refused)) {
        out << std::left << std::setw(20) << token.serial << " slot " << std::setw(3) << token.slotId << " class "
            << token.tokenClass << (token.drive.present ? " drive" : " no-drive")
            << (token.card.plugged ? " plugged" : "") << (token.tls ? " tls" : "") << "  " << token.label << '\n';
    }
    return damaged ? 1 : 0;
}

} // namespace qvtoken::tool
