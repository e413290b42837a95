#include "cli/ParseUtils.h"

#include "cli/BoostGeneralOptionsAdapter.h"
#include "cli/CommonOptions.h"

namespace parse_utils {

namespace {
using namespace common_options;

const options::BoostGeneralOptionsAdapter<SerialFilterOption, ExcludeFilterOption> filterAdapter(&filterOptionsInfo);
const options::BoostGeneralOptionsAdapter<ParallelStrategyOption> strategyAdapter(&strategyOptionsInfo);
const options::BoostGeneralOptionsAdapter<HelpOption> helpAdapter(&helpOptionsInfo);
const options::BoostGeneralOptionsAdapter<LogFileOption, NoLogOption> logAdapter(&logOptionsInfo);
const options::BoostGeneralOptionsAdapter<PinFileOption, NoPinFileOption> pinAdapter(&pinOptionsInfo);
} // namespace

boost::program_options::options_description getFilterOptions(const Config& config)
{
    return filterAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getStrategyOptions(const Config& config)
{
    return strategyAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getLoggerOptions(const Config& config)
{
    return logAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getPinOptions(const Config& config)
{
    return pinAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getHelpOptions(const Config& config)
{
    return helpAdapter.getOptionsDescription(config);
}

bool parseHelpOption(const boost::program_options::variables_map* variables)
{
    return variables->count(helpOptionAttributes.key.name) != 0;
}

} // namespace parse_utils
