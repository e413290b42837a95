#include "token/addLogPcInfo.h"

#include "token/hostInformation.h"

#include <string>

namespace {
// The journal shows a value the system could not tell as NONE.
std::string orNone(std::string value)
{
    return value.empty() ? "NONE" : value;
}

qvflash_String view(const std::string& text)
{
    return qvflash_String{text.size(), text.data()};
}
} // namespace

void addLogPcInfo(quorvik::qvflash::Token& token)
{
    const std::string user = orNone(getSystemUserName());
    const std::string domain = orNone(getSystemDomainName());
    const std::string os = orNone(getOsVersion());
    const std::string device = orNone(getSystemDeviceName());
    const auto time = getSystemTime().time_since_epoch().count();
    token.addLogPcInfo(qvflash_PcInfo{view(user), view(domain), view(os), view(device), time});
}
