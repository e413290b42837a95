#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/FeatureObjects.h>

#include <algorithm>
#include <optional>
#include <ostream>

namespace qvtoken::tool {

namespace {

// "M.N", each part 0..255 as the token's version bytes hold it.
Version parseVersion(const std::string& text, const std::string& what)
{
    const auto dot = text.find('.');
    if (dot == std::string::npos)
        throw UsageError(what + " is MAJOR.MINOR.");
    const auto major = parseNumber(text.substr(0, dot), what);
    const auto minor = parseNumber(text.substr(dot + 1), what);
    if (major > 0xFF || minor > 0xFF)
        throw UsageError(what + " parts are 0 to 255.");
    return {static_cast<unsigned>(major), static_cast<unsigned>(minor)};
}

void setModelName(TokenState& token, const std::optional<std::string>& name)
{
    auto& objects = token.objects;
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [](const FeatureObject& o) { return isFeature(o, feature::tokenInfoType); }),
                  objects.end());
    if (name)
        objects.push_back(tokenInfoObject(*name));
}

} // namespace

// Everything the program's model identification reads, in one command.
int runModel(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {"no-name"}, {"hardware", "firmware", "class", "feature-number", "name"});
    if (args.positionals().size() != 1)
        throw UsageError("model takes one serial.");
    const std::uint64_t serial = serialArgument(args.positionals());
    const auto version = [&](const char* name) -> std::optional<Version> {
        if (auto text = args.option(name))
            return parseVersion(*text, std::string("--") + name);
        return std::nullopt;
    };
    const auto hardware = version("hardware");
    const auto firmware = version("firmware");
    const auto tokenClass = args.numberOption("class");
    const auto featureNumber = args.numberOption("feature-number");
    const auto name = args.option("name");
    if (name && args.flag("no-name"))
        throw UsageError("--name and --no-name exclude each other.");
    store.modify(serial, [&](TokenState& token) {
        if (hardware)
            token.hardwareVersion = *hardware;
        if (firmware)
            token.firmwareVersion = *firmware;
        if (tokenClass)
            token.tokenClass = *tokenClass;
        if (featureNumber)
            token.featureNumber = *featureNumber;
        if (name || args.flag("no-name"))
            setModelName(token, name);
    });
    out << "model of " << serial << " changed\n";
    return 0;
}

} // namespace qvtoken::tool
