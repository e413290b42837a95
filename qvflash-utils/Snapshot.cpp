#include <qvflash-utils-core/Snapshot.h>

#include <qvflash-utils-core/Exception.h>

#include <algorithm>

namespace qvfl_utils {
namespace {

std::string normalise(const std::string& item)
{
    std::string kept;
    for (const char c : item) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            kept += c;
        } else if (c >= 'A' && c <= 'Z') {
            kept += static_cast<char>(c - 'A' + 'a');
        }
    }
    return kept;
}

} // namespace

std::string detail::toParamsString(const std::vector<std::string>& items)
{
    std::vector<std::string> normalised;
    normalised.reserve(items.size());
    for (const std::string& item : items) {
        normalised.push_back(normalise(item));
    }
    // Only ASCII letters and digits are left, so the default comparison is
    // the unsigned bytewise one.
    std::sort(normalised.begin(), normalised.end());
    std::string joined;
    for (const std::string& item : normalised) {
        if (!joined.empty()) {
            joined += ';';
        }
        joined += item;
    }
    return joined;
}

std::string Snapshot::compute(const IHwParamsGetter& getter)
{
    const std::vector<std::string> drives = getter.internalHardDiskSerials();
    if (drives.empty()) {
        throw Exception(QVFL_UTILS_ST_NO_HD_INFO);
    }
    const std::vector<std::string> processors = getter.cpuModels();
    if (processors.empty()) {
        throw Exception(QVFL_UTILS_ST_NO_CPU_INFO);
    }
    return "D:" + detail::toParamsString(drives) + "|P:" + detail::toParamsString(processors);
}

} // namespace qvfl_utils
