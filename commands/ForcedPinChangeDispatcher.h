#pragma once

#include "commands/BaseParamDispatcher.h"

// force-pin-change: every chosen token demands a new user PIN, on the admin PIN's authority.
class ForcedPinChangeDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
