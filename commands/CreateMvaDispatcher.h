#pragma once

#include "commands/BaseParamDispatcher.h"

// create-mva: creates an MVA object with the given limits on every chosen token, authorised by the
// admin PIN, and reports each token's new MVA id.
class CreateMvaDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
