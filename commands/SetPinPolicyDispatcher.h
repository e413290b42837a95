#pragma once

#include "commands/BaseParamDispatcher.h"

// set-pin-policy: a new user PIN policy on every chosen token, authorised by the admin PIN.
class SetPinPolicyDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
