#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/Errors.h>

#include <ostream>

namespace qvtoken::tool {

// The card's own settings. The ATR takes effect at the next plug-in, as on a real token.
int runCard(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {},
                             {"protocol", "marker", "raw-atr", "chunk", "away-ms", "total-flash", "ext-info"});
    const auto& positionals = args.positionals();
    const std::uint64_t serial = serialArgument(positionals);
    if (positionals.size() != 1)
        throw UsageError("card takes one SERIAL and options.");
    const auto protocol = args.option("protocol");
    if (protocol && *protocol != "t0" && *protocol != "t1")
        throw UsageError("--protocol is t0 or t1.");
    const auto marker = args.option("marker");
    if (marker && (marker->empty() || marker->size() > 15))
        throw UsageError("--marker takes 1 to 15 characters.");
    std::optional<Bytes> rawAtr;
    std::optional<std::optional<Bytes>> extInfo;
    try {
        if (auto raw = args.option("raw-atr"))
            rawAtr = fromHex(*raw);
        if (auto ext = args.option("ext-info"))
            extInfo = *ext == "unsupported" ? std::nullopt : std::optional<Bytes>(fromHex(*ext));
    } catch (const StateError&) {
        throw UsageError("--raw-atr and --ext-info take hex bytes.");
    }
    const auto chunk = args.numberOption("chunk");
    const auto awayMs = args.numberOption("away-ms");
    const auto totalFlash = args.numberOption("total-flash");
    if (totalFlash && *totalFlash > 0xFFFFFFFFull)
        throw UsageError("--total-flash is a 32-bit number.");
    store.modify(serial, [&](TokenState& token) {
        auto& card = token.card;
        if (protocol)
            card.protocol = *protocol;
        if (marker)
            card.atrMarker = *marker;
        if (rawAtr)
            card.rawAtr = rawAtr->empty() ? std::nullopt : rawAtr;
        if (extInfo)
            card.extInfo = *extInfo;
        if (chunk)
            card.chunk = *chunk;
        if (awayMs)
            card.awayMs = *awayMs;
        if (totalFlash)
            token.drive.sizeMb = static_cast<std::uint32_t>(*totalFlash);
    });
    out << "card settings of " << serial << " changed\n";
    return 0;
}

} // namespace qvtoken::tool
