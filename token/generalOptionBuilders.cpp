#include "token/generalOptionBuilders.h"

#include "cli/CliError.h"
#include "cli/CommonOptions.h"
#include "logging/LoggerFactories.h"
#include "pin/isGivenExplicitly.h"
#include "token/AnyTokenFilter.h"
#include "token/ExcludeTokenFilter.h"
#include "token/MainThreadStrategy.h"
#include "token/ParallelStrategy.h"
#include "token/SingleTokenFilter.h"

#include <string>
#include <vector>

namespace parse_utils {

namespace {
using namespace common_options;

const std::string& serialKey = serialFilterOptionAttributes.key.name;
const std::string& excludeKey = excludeFilterOptionAttributes.key.name;
const std::string& logFileKey = logFileOptionAttributes.key.name;
const std::string& noLogKey = noLogOptionAttributes.key.name;
const std::string& pinFileKey = pinFileOptionAttributes.key.name;
const std::string& noPinFileKey = noPinFileOptionAttributes.key.name;

// A flag of the command line switching its typed counterpart off; a configured default of the
// counterpart gives way silently.
void checkSwitchedOff(const boost::program_options::variables_map& vm, const std::string& flag,
                      const std::string& option)
{
    if (vm.count(flag) != 0 && isGivenExplicitly(vm, option)) {
        throw OptionCompatibilityError(flag, option);
    }
}
} // namespace

std::shared_ptr<BaseTokenFilter> parseFilter(const boost::program_options::variables_map* vm)
{
    if (vm->count(serialKey) != 0 && vm->count(excludeKey) != 0) {
        throw OptionCompatibilityError(serialKey, excludeKey);
    }
    if (vm->count(serialKey) != 0) {
        return std::make_shared<SingleTokenFilter>(vm->at(serialKey).as<unsigned long long>());
    }
    if (vm->count(excludeKey) != 0) {
        return std::make_shared<ExcludeTokenFilter>(vm->at(excludeKey).as<std::vector<unsigned long long>>());
    }
    return std::make_shared<AnyTokenFilter>();
}

std::shared_ptr<BaseStrategy> parseStrategy(const boost::program_options::variables_map* vm)
{
    if (vm->count(parallelStrategyOptionAttributes.key.name) != 0) {
        return std::make_shared<ParallelStrategy>();
    }
    return std::make_shared<MainThreadStrategy>();
}

std::shared_ptr<logging::BaseLogger> parseLogger(const boost::program_options::variables_map* vm)
{
    checkSwitchedOff(*vm, noLogKey, logFileKey);
    checkSwitchedOff(*vm, noPinFileKey, pinFileKey);
    const bool noLog = vm->count(noLogKey) != 0;
    const bool noPinFile = vm->count(noPinFileKey) != 0;

    std::vector<std::shared_ptr<logging::BaseLogger>> loggers;
    loggers.push_back(logging::createConsoleLogger(noLog && noPinFile));
    if (!noLog) {
        loggers.push_back(vm->count(logFileKey) != 0 ? logging::createFileLogger(vm->at(logFileKey).as<std::string>())
                                                     : logging::createMultiFileLogger());
    }
    if (!noPinFile) {
        loggers.push_back(vm->count(pinFileKey) != 0
                              ? logging::createPinFileLogger(vm->at(pinFileKey).as<std::string>())
                              : logging::createPinFileLogger());
    }
    return logging::compose(loggers);
}

} // namespace parse_utils
