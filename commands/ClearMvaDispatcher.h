#pragma once

#include "commands/BaseParamDispatcher.h"

// clear-mva: removes every host record from one MVA object of every chosen token, authorised by the
// admin PIN.
class ClearMvaDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
