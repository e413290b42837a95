#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/TokenStore.h>

#include <exception>
#include <iostream>

namespace {

void printHelp(std::ostream& out)
{
    out << "qvtoken: prepare virtual tokens for the stand-in module and the virtual card.\n"
           "Tokens live in QVTOKEN_STATE_DIR (default $HOME/.qvtoken).\n\nUsage:\n";
    for (const auto& command : qvtoken::tool::toolCommands())
        out << "  qvtoken " << command.usage << "\n      " << command.summary << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
        printHelp(words.empty() ? std::cerr : std::cout);
        return words.empty() ? 2 : 0;
    }
    try {
        qvtoken::TokenStore store;
        for (const auto& command : qvtoken::tool::toolCommands())
            if (command.name == words[0])
                return command.run(store, {words.begin() + 1, words.end()}, std::cout);
        std::cerr << "qvtoken: unknown command " << words[0] << "\n";
        printHelp(std::cerr);
        return 2;
    } catch (const qvtoken::tool::UsageError& e) {
        std::cerr << "qvtoken: " << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "qvtoken: " << e.what() << '\n';
        return 1;
    }
}
