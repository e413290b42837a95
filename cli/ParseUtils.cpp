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

boost::program_options::options_description getFilterOptions(Config const& config)
{
    return filterAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getStrategyOptions(Config const& config)
{
    return strategyAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getLoggerOptions(Config const& config)
{
    return logAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getPinOptions(Config const& config)
{
    return pinAdapter.getOptionsDescription(config);
}

boost::program_options::options_description getHelpOptions(Config const& config)
{
    return helpAdapter.getOptionsDescription(config);
}

bool parseHelpOption(boost::program_options::variables_map const* variables)
{
    return variables->count(helpOptionAttributes.key.name) != 0;
}

} // namespace parse_utils
