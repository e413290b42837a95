#pragma once

#include "commands/BaseParamDispatcher.h"

// format: re-initialises every chosen token with new admin and user PINs, label, PIN lengths,
// retry counts and change policy; authorised by the admin PIN, or by none in repair mode.
class FormatDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
