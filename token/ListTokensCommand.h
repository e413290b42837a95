#pragma once

#include "cli/BaseCliCommand.h"

class TokenManager;

// list-tokens: the model and serial number of every chosen token; asks for no PIN, writes no
// log, and finding no token is an ordinary outcome.
class ListTokensCommand : public BaseCliCommand {
public:
    explicit ListTokensCommand(TokenManager& tokenManager);

    void setConfig(const Config& config) override;
    void run() override;
    void setVarMap(boost::program_options::variables_map* vm) override;
    boost::program_options::options_description getOptionsDescription() const override;
    const BaseCommandInfo& getCommandInfo() const override;

    void printHelp() const;

private:
    TokenManager* tokenManager;
    Config config;
    boost::program_options::variables_map* varMap = nullptr;
};
