#pragma once

#include "cli/BaseCommandInfo.h"
#include "cli/Config.h"

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

#include <memory>

class BaseStrategy;
class TokenManager;

namespace logging {
class BaseLogger;
}

// One token command's own part: its PINs, its options, its command record and the operation it
// performs on each token. The command that wraps it builds the filter, the strategy and the
// loggers and checks the log afterwards.
class BaseParamDispatcher {
public:
    virtual ~BaseParamDispatcher() = default;
    // Reports failure only by throwing.
    virtual void run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                     std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager) = 0;
    virtual const BaseCommandInfo& getCommandInfo() const = 0;
    // The command's own options only, with defaults from the configuration.
    virtual boost::program_options::options_description getOptionsDescription(const Config& config) const = 0;
};
