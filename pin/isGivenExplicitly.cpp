#include "pin/isGivenExplicitly.h"

bool isGivenExplicitly(const boost::program_options::variables_map& variables, const std::string& key)
{
    const auto it = variables.find(key);
    return it != variables.end() && !it->second.defaulted();
}
