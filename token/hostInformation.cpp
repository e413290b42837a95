#include "token/hostInformation.h"

#include "token/getSystemInfo.h"

#include <platform/hostCalls.h>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {
// Without a limit from the system, a start that fits common password entries.
constexpr long kDefaultPasswordBufferSize = 1024;
// Far beyond any real entry: a system that keeps asking for more is not answered.
constexpr std::size_t kMaximalPasswordBufferSize = 1 << 20;
// What getdomainname writes for a host without a domain.
constexpr const char* kUnsetDomainName = "(none)";
} // namespace

std::string getSystemUserName()
{
    const uid_t user = geteuid();
    if (user == static_cast<uid_t>(-1)) {
        return {};
    }
    // The reentrant lookup: tasks of a parallel run ask at the same time, and getpwuid's
    // shared static entry would be overwritten under them.
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(suggested > 0 ? suggested : kDefaultPasswordBufferSize));
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        const int error = getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < kMaximalPasswordBufferSize) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr || found->pw_name == nullptr) {
            return {};
        }
        return found->pw_name;
    }
}

std::string getSystemDomainName()
{
    return getSystemInfo([](char* name, std::size_t size) { return getdomainname(name, size); }, kUnsetDomainName);
}

std::string getOsVersion()
{
    const char* key = "kern.osproductversion";
    std::size_t size = 0;
    if (platform::sysctlbyname(key, nullptr, &size, nullptr, 0) != 0) {
        return {};
    }
    std::vector<char> version(size, '\0');
    if (platform::sysctlbyname(key, version.data(), &size, nullptr, 0) != 0) {
        return {};
    }
    return platform::operatingSystemName() + " " +
           std::string(version.begin(), std::find(version.begin(), version.end(), '\0'));
}

std::string getSystemDeviceName()
{
    return getSystemInfo([](char* name, std::size_t size) { return gethostname(name, size); }, std::nullopt);
}

std::chrono::time_point<std::chrono::system_clock, std::chrono::seconds> getSystemTime()
{
    return std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
}
