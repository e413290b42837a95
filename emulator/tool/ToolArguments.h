#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvtoken::tool {

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// A subcommand's words: positionals, `--name value` or `--name=value` options, and the
// value-less flags the subcommand names.
class ToolArguments {
public:
    ToolArguments(const std::vector<std::string>& words, const std::set<std::string>& flags,
                  const std::set<std::string>& options);

    const std::vector<std::string>& positionals() const { return positionals_; }
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    std::optional<std::string> option(const std::string& name) const;
    // The option's value as a number (parseNumber); empty when the option is not given.
    std::optional<unsigned long long> numberOption(const std::string& name) const;

private:
    std::vector<std::string> positionals_;
    std::set<std::string> flags_;
    std::map<std::string, std::string> options_;
};

// Decimal, or hex with 0x; UsageError naming `what` otherwise.
unsigned long long parseNumber(const std::string& text, const std::string& what);

// How often a fault rule fires: once unless --always (-1, for good) or --times N (N >= 1).
long timesOf(const ToolArguments& args);

} // namespace qvtoken::tool
