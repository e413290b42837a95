#pragma once

#include "cli/BaseCliCommand.h"
#include "cli/BoostCommandInfoAdapter.h"
#include "cli/CommandInfo.h"
#include "cli/TypedCliOption.h"

// A named command that does nothing, with one required option and one configured one.
class FakeCommand : public BaseCliCommand {
public:
    FakeCommand(std::string const& name, CommandCategory category, std::string const& description);

    void setConfig(Config const& newConfig) override { config = newConfig; }
    void run() override {}
    void setVarMap(boost::program_options::variables_map* variables) override { varMap = variables; }
    boost::program_options::options_description getOptionsDescription() const override;
    BaseCommandInfo const& getCommandInfo() const override { return info; }

    Config config;
    boost::program_options::variables_map* varMap = nullptr;

private:
    CommandInfo<> info;
};
