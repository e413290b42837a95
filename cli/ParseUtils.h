#pragma once

#include "cli/Config.h"

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

// The groups of general options, with defaults from the given configuration.
namespace parse_utils {

boost::program_options::options_description getFilterOptions(const Config& config);
boost::program_options::options_description getStrategyOptions(const Config& config);
boost::program_options::options_description getLoggerOptions(const Config& config);
boost::program_options::options_description getPinOptions(const Config& config);
boost::program_options::options_description getHelpOptions(const Config& config);

bool parseHelpOption(const boost::program_options::variables_map* variables);

} // namespace parse_utils
