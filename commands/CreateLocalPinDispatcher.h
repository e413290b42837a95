#pragma once

#include "commands/BaseParamDispatcher.h"

// create-local-pin: a new local PIN on every chosen token, authorised by the user PIN; named on the
// command line for a token without flash functions, by the token for one with them.
class CreateLocalPinDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
