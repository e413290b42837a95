#include "logging/addOption.h"

#include "token/types/VolumeParams.h"

namespace logging {

template <>
void addOption<std::string>(CommandRecord& record, const std::string& key, const std::string& value)
{
    record.options.push_back({key, '"' + value + '"'});
}

template <>
void addOption<std::vector<VolumeParams>>(CommandRecord& record, const std::string& key,
                                          const std::vector<VolumeParams>& value)
{
    std::ostringstream text;
    text << '{';
    for (std::size_t i = 0; i < value.size(); ++i)
        text << (i == 0 ? "" : ",") << value[i].size << ':' << value[i].accessMode << ':' << value[i].owners;
    text << '}';
    record.options.push_back({key, text.str()});
}

} // namespace logging
