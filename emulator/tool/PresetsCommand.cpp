#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/TokenPresets.h>

#include <iomanip>
#include <ostream>

namespace qvtoken::tool {

int runPresets(TokenStore& /*store*/, const std::vector<std::string>& words, std::ostream& out)
{
    if (!ToolArguments(words, {}, {}).positionals().empty())
        throw UsageError("presets takes no arguments.");
    for (const auto& preset : presets()) {
        const TokenState token = makePreset(preset.name);
        out << std::left << std::setw(18) << preset.name << " serial " << std::setw(11) << token.serial << " slot "
            << std::setw(3) << token.slotId << ' ' << preset.description << '\n';
    }
    return 0;
}

} // namespace qvtoken::tool
