#pragma once

#include "cli/BaseCommand.h"
#include "cli/BaseCommandInfo.h"

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

// A command named on the command line: the parser describes its options from the
// stored configuration and hands it the parsed values, which the parser keeps.
class BaseCliCommand : public BaseCommand {
public:
    virtual void setVarMap(boost::program_options::variables_map* variables) = 0;
    virtual boost::program_options::options_description getOptionsDescription() const = 0;
    virtual const BaseCommandInfo& getCommandInfo() const = 0;
};
