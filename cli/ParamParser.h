#pragma once

#include "cli/BaseCommand.h"
#include "cli/CommandsDescription.h"

#include <boost/program_options/variables_map.hpp>

#include <memory>

// Turns the argument vector into one configured command: reads the configuration file
// beside the executable, takes the first argument as the command name and parses the
// rest strictly against that command's options.
class ParamParser {
public:
    void registerCommand(std::shared_ptr<BaseCliCommand> command);

    // Without a command name the help command is returned.
    std::shared_ptr<BaseCommand> parse(int argc, char** argv);

private:
    CommandsDescription commands;
    // The chosen command keeps a pointer to the parsed options, so they live here.
    boost::program_options::variables_map variables;
};
