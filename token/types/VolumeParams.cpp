#include "token/types/VolumeParams.h"

#include <algorithm>
#include <istream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

namespace {
// Only plain digits: a stream read of an unsigned number would take "-5" as 2^64 - 5.
std::optional<std::uint64_t> readSize(std::istream& in)
{
    std::string digits;
    if (!(in >> digits) || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto size = std::stoull(digits);
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return size;
}
} // namespace

std::istream& operator>>(std::istream& in, VolumeParams& params)
{
    std::string word;
    if (!(in >> word)) {
        return in;
    }
    std::replace(word.begin(), word.end(), ':', ' ');
    std::istringstream parts(word);
    VolumeParams read;
    const auto size = readSize(parts);
    if (!size || !(parts >> read.accessMode >> read.owners)) {
        in.setstate(std::ios::failbit);
        return in;
    }
    read.size = *size;
    std::string type;
    if (parts >> type) {
        const auto sectionType = toEnum<SectionType>(type);
        std::string rest;
        if (!sectionType || parts >> rest) {
            in.setstate(std::ios::failbit);
            return in;
        }
        read.sectionType = *sectionType;
    }
    params = std::move(read);
    return in;
}
