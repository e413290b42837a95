#pragma once

#include "commands/BaseParamDispatcher.h"

// unblock-pins: the admin unblocks the user PIN and, on a flash token, every local PIN and MVA.
class UnblockPinsDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
