#pragma once

#include "commands/BaseParamDispatcher.h"

// set-touch-settings: how the touch button confirms signatures, authorised by the admin PIN.
class SetTouchSettingsDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
