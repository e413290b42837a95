#pragma once

#include "logging/BaseLogger.h"
#include "token/BaseStrategy.h"
#include "token/BaseTokenFilter.h"

#include <boost/program_options/variables_map.hpp>

#include <memory>

// The general options turned into the objects a token command runs with.
namespace parse_utils {

// Throws OptionCompatibilityError for --serial with --exclude.
std::shared_ptr<BaseTokenFilter> parseFilter(const boost::program_options::variables_map* vm);
std::shared_ptr<BaseStrategy> parseStrategy(const boost::program_options::variables_map* vm);
// The console logger and, unless switched off, the log file(s) and the PIN file, composed.
// Throws OptionCompatibilityError for --log-file with --no-log and --pin-file with --no-pin-file,
// before any logger is made.
std::shared_ptr<logging::BaseLogger> parseLogger(const boost::program_options::variables_map* vm);

} // namespace parse_utils
