#include "cpuFacts.h"

#include "hostFiles.h"

#include <cctype>
#include <charconv>
#include <set>
#include <string_view>
#include <vector>

namespace platform {
namespace {

// The values of every cpuinfo line "key<blanks>: value" with this key.
std::vector<std::string> cpuinfoValues(std::string_view key)
{
    std::vector<std::string> values;
    const std::optional<std::string> cpuinfo = readFile(hostPath("/proc/cpuinfo"));
    if (!cpuinfo) {
        return values;
    }
    std::string_view rest = *cpuinfo;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && trimmed(line.substr(0, colon)) == key) {
            values.push_back(trimmed(line.substr(colon + 1)));
        }
    }
    return values;
}

std::set<std::int64_t> topologyPackageIds()
{
    std::set<std::int64_t> ids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(hostPath("/sys/devices/system/cpu"), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 4 || name.compare(0, 3, "cpu") != 0 || !std::isdigit(static_cast<unsigned char>(name[3]))) {
            continue;
        }
        const std::string text = trimmed(readFile(entry.path() / "topology" / "physical_package_id").value_or(""));
        std::int64_t id = -1;
        const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), id);
        // A CPU without a package says -1.
        if (failure == std::errc() && end == text.data() + text.size() && id >= 0) {
            ids.insert(id);
        }
    }
    return ids;
}

} // namespace

std::optional<std::string> cpuBrandString()
{
    const std::vector<std::string> names = cpuinfoValues("model name");
    if (names.empty()) {
        return std::nullopt;
    }
    return names.front();
}

std::optional<std::int32_t> cpuPackageCount()
{
    const std::set<std::int64_t> packages = topologyPackageIds();
    if (!packages.empty()) {
        return static_cast<std::int32_t>(packages.size());
    }
    const std::vector<std::string> ids = cpuinfoValues("physical id");
    if (!ids.empty()) {
        return static_cast<std::int32_t>(std::set<std::string>(ids.begin(), ids.end()).size());
    }
    if (!cpuinfoValues("processor").empty()) {
        return 1;
    }
    return std::nullopt;
}

} // namespace platform
