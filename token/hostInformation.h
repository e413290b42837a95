#pragma once

#include <chrono>
#include <string>

// What the flash journal records of the host a volume's access mode was changed from. Each
// text is empty when the system cannot tell; none of them throws for a failed system call.

// The login name of the effective user.
std::string getSystemUserName();
std::string getSystemDomainName();
// The system's name and product version, for example "macOS 14.2".
std::string getOsVersion();
std::string getSystemDeviceName();
std::chrono::time_point<std::chrono::system_clock, std::chrono::seconds> getSystemTime();
