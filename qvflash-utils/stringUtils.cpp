#include <qvflash-utils-core/stringUtils.h>

namespace qvfl_utils::string {

bool startsWith(const std::string& text, std::string_view prefix)
{
    return std::string_view(text).substr(0, prefix.size()) == prefix;
}

std::string lastWord(const std::string& text)
{
    const std::size_t space = text.rfind(' ');
    return space == std::string::npos ? text : text.substr(space + 1);
}

std::string trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\f\n\r");
    if (first == std::string::npos) {
        return {};
    }
    // The trailing set leaves a form feed in place: snapshots already
    // registered were computed that way.
    const std::size_t last = text.find_last_not_of(" \t\n\r");
    return text.substr(first, last - first + 1);
}

} // namespace qvfl_utils::string
