#pragma once

#include "cli/BaseCliCommand.h"

class TokenManager;

// info: each chosen token's general information, user PIN policy, flash drive and touch
// settings, one whole block per token. A section that cannot be read is named and skipped;
// the token still counts as done.
class TokenInfoCommand : public BaseCliCommand {
public:
    explicit TokenInfoCommand(TokenManager& tokenManager);

    void setConfig(const Config& config) override;
    void run() override;
    void setVarMap(boost::program_options::variables_map* vm) override;
    boost::program_options::options_description getOptionsDescription() const override;
    const BaseCommandInfo& getCommandInfo() const override;

    void printHelp() const;

private:
    Config config;
    boost::program_options::variables_map* varMap = nullptr;
    TokenManager* tokenManager;
};
