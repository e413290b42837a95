#include "ToolArguments.h"

namespace qvtoken::tool {

ToolArguments::ToolArguments(const std::vector<std::string>& words, const std::set<std::string>& flags,
                             const std::set<std::string>& options)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) {
            positionals_.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> value;
        if (auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        if (flags.count(name) != 0 && !value) {
            flags_.insert(name);
        } else if (options.count(name) != 0) {
            if (!value) {
                if (i + 1 >= words.size())
                    throw UsageError("Option --" + name + " needs a value.");
                value = words[++i];
            }
            options_[name] = *value;
        } else {
            throw UsageError("Unknown option --" + name + ".");
        }
    }
}

std::optional<std::string> ToolArguments::option(const std::string& name) const
{
    auto it = options_.find(name);
    if (it == options_.end())
        return std::nullopt;
    return it->second;
}

std::optional<unsigned long long> ToolArguments::numberOption(const std::string& name) const
{
    if (auto text = option(name))
        return parseNumber(*text, "--" + name);
    return std::nullopt;
}

unsigned long long parseNumber(const std::string& text, const std::string& what)
{
    std::size_t used = 0;
    unsigned long long value = 0;
    try {
        value = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || text[0] == '-')
        throw UsageError("Not a number for " + what + ": " + text);
    return value;
}

long timesOf(const ToolArguments& args)
{
    const int chosen = args.flag("once") + args.flag("always") + (args.option("times") ? 1 : 0);
    if (chosen > 1)
        throw UsageError("Choose one of --once, --always and --times.");
    if (args.flag("always"))
        return -1;
    if (auto times = args.option("times")) {
        const auto n = parseNumber(*times, "--times");
        if (n == 0)
            throw UsageError("--times must be at least 1.");
        return static_cast<long>(n);
    }
    return 1;
}

} // namespace qvtoken::tool
