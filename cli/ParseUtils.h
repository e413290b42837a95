#pragma once

#include "cli/Config.h"

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

// The groups of general options, with defaults from the given configuration.
namespace parse_utils {

boost::program_options::options_description getFilterOptions(Config const& config);
boost::program_options::options_description getStrategyOptions(Config const& config);
boost::program_options::options_description getLoggerOptions(Config const& config);
boost::program_options::options_description getPinOptions(Config const& config);
boost::program_options::options_description getHelpOptions(Config const& config);

bool parseHelpOption(boost::program_options::variables_map const* variables);

} // namespace parse_utils
