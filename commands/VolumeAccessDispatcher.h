#pragma once

#include "commands/BaseParamDispatcher.h"

// set-volume-access-mode: changes one volume's access mode on every chosen token, permanently
// or until the token is unplugged, logging in as the volume's owners (with a PIN, or with none
// for a volume that only the host's MVA record opens).
class VolumeAccessDispatcher : public BaseParamDispatcher {
public:
    void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
             std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) override;
    const BaseCommandInfo& getCommandInfo() const override;
    boost::program_options::options_description getOptionsDescription(const Config& config) const override;
};
