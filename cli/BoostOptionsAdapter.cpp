#include "cli/BoostOptionsAdapter.h"

namespace options::detail {

std::string buildFullKey(const OptionKey& key)
{
    return key.shortName ? key.name + "," + *key.shortName : key.name;
}

boost::shared_ptr<boost::program_options::option_description> makeDescription(const BaseFlagCliOption& option,
                                                                              const Config&, const std::string& text)
{
    return boost::make_shared<boost::program_options::option_description>(
        buildFullKey(option.key()).c_str(), new boost::program_options::untyped_value(true), text.c_str());
}

} // namespace options::detail
