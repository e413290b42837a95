#pragma once

#include "cli/BaseCliCommand.h"
#include "commands/BaseParamDispatcher.h"

#include <memory>

class TokenManager;

// A token command as the parser sees it: help, then the filter, strategy and loggers from the
// general options around the wrapped command, then the log's write state.
class DispatchCommand : public BaseCliCommand {
public:
    DispatchCommand(TokenManager* tokenManager, std::shared_ptr<BaseParamDispatcher> dispatcher);

    void setConfig(const Config& config) override;
    void run() override;
    void setVarMap(boost::program_options::variables_map* vm) override;
    boost::program_options::options_description getOptionsDescription() const override;
    const BaseCommandInfo& getCommandInfo() const override;

    // The command's description and its own options, without the general ones.
    void printHelp() const;

private:
    TokenManager* tokenManager;
    std::shared_ptr<BaseParamDispatcher> dispatcher;
    Config config;
    boost::program_options::variables_map* varMap = nullptr;
};
