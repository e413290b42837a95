#pragma once

#include "cli/BaseCliCommand.h"

class VersionCommand : public BaseCliCommand {
public:
    void setConfig(const Config& config) override;
    void run() override;
    void setVarMap(boost::program_options::variables_map* variables) override;
    boost::program_options::options_description getOptionsDescription() const override;
    const BaseCommandInfo& getCommandInfo() const override;

    void printHelp() const;

private:
    Config config;
    boost::program_options::variables_map* varMap = nullptr;
};
