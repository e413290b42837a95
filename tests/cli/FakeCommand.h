#pragma once

#include "cli/BaseCliCommand.h"
#include "cli/BoostCommandInfoAdapter.h"
#include "cli/CommandInfo.h"
#include "cli/TypedCliOption.h"

// A named command that does nothing, with one required option and one configured one.
class FakeCommand : public BaseCliCommand {
public:
    FakeCommand(const std::string& name, CommandCategory category, const std::string& description);

    void setConfig(const Config& newConfig) override { config = newConfig; }
    void run() override {}
    void setVarMap(boost::program_options::variables_map* variables) override { varMap = variables; }
    boost::program_options::options_description getOptionsDescription() const override;
    const BaseCommandInfo& getCommandInfo() const override { return info; }

    Config config;
    boost::program_options::variables_map* varMap = nullptr;

private:
    CommandInfo<> info;
};
