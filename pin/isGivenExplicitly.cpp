#include "pin/isGivenExplicitly.h"

bool isGivenExplicitly(boost::program_options::variables_map const& variables, std::string const& key)
{
    const auto it = variables.find(key);
    return it != variables.end() && !it->second.defaulted();
}
