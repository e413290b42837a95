#include "logging/addOption.h"

namespace logging {

void addOption(CommandRecord& record, const std::string& key, const std::string& value)
{
    record.options.push_back({key, '"' + value + '"'});
}

}  // namespace logging
