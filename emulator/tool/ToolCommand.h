#pragma once

#include <qvtoken-core/TokenStore.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace qvtoken::tool {

// One subcommand of `qvtoken`: its name, usage line and what it does, and the function that
// runs it on the words after its name. Runs write their result to `out` and return the exit
// status; errors are thrown (UsageError for bad words).
struct ToolCommand {
    std::string name;
    std::string usage;
    std::string summary;
    int (*run)(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
};

// Every subcommand, in the order help lists them.
const std::vector<ToolCommand>& toolCommands();

int runPresets(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runCreate(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runList(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runShow(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runRemove(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runFault(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runSwitch(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runPlug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runUnplug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runReplug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runModel(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runCard(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);
int runCardFault(TokenStore& store, const std::vector<std::string>& words, std::ostream& out);

// The serial a subcommand names as its first positional.
std::uint64_t serialArgument(const std::vector<std::string>& positionals);

} // namespace qvtoken::tool
