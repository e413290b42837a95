#include "token/types/VolumeParams.h"

#include <istream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

namespace {
// Only plain digits: a stream read of an unsigned number would take "-5" as 2^64 - 5.
std::optional<std::uint64_t> readSize(const std::string& digits)
{
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto size = std::stoull(digits);
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return size;
}

// The parts between colons, empty ones included, so that a doubled, leading or trailing colon
// leaves an empty part to refuse instead of vanishing.
std::vector<std::string> colonParts(const std::string& word)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (auto colon = word.find(':'); colon != std::string::npos; colon = word.find(':', start)) {
        parts.push_back(word.substr(start, colon - start));
        start = colon + 1;
    }
    parts.push_back(word.substr(start));
    return parts;
}

// One part read whole by its extraction operator.
template <typename T>
bool readPart(const std::string& part, T& value)
{
    std::istringstream in(part);
    return !part.empty() && in >> value && in.peek() == std::char_traits<char>::eof();
}
} // namespace

std::istream& operator>>(std::istream& in, VolumeParams& params)
{
    std::string word;
    if (!(in >> word)) {
        return in;
    }
    const auto parts = colonParts(word);
    VolumeParams read;
    const auto size = parts.size() == 3 || parts.size() == 4 ? readSize(parts[0]) : std::nullopt;
    if (!size || !readPart(parts[1], read.accessMode) || !readPart(parts[2], read.owners) ||
        (parts.size() == 4 && !readPart(parts[3], read.sectionType))) {
        in.setstate(std::ios::failbit);
        return in;
    }
    read.size = *size;
    params = std::move(read);
    return in;
}
