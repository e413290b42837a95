#include <qvflash-utils-core/hostQueries.h>

#include <qvflash-utils-core/stringUtils.h>

namespace qvfl_utils::detail {

std::vector<std::string> internalSerials(const std::string& output)
{
    std::vector<std::string> serials;
    // The serial waits for the "Detachable Drive" line of its drive; a later
    // "Serial Number" line replaces it.
    std::string pending;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) {
            end = output.size();
        }
        const std::string raw = output.substr(start, end - start);
        start = end + 1;
        if (raw.empty()) {
            continue;
        }
        const std::string line = string::trim(raw);
        if (string::startsWith(line, "Serial Number")) {
            pending = string::lastWord(line);
        } else if (string::startsWith(line, "Detachable Drive") && !pending.empty()) {
            if (string::lastWord(line) == "No") {
                serials.push_back(pending);
            }
            pending.clear();
        }
    }
    return serials;
}

} // namespace qvfl_utils::detail
