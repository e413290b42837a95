#pragma once

#include "logging/CommandRecord.h"

#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

struct VolumeParams;

namespace logging {

// Appends an option to the command record with the text of its value: numbers, bools ("1" or
// "0") and the value types as a default-formatted stream writes them (their own text forms).
template <typename T>
void addOption(CommandRecord& record, const std::string& key, const T& value)
{
    // A character would be written as itself, not as the number it holds; a text literal would
    // miss the quotes of the std::string member.
    static_assert(!std::is_same_v<T, char> && !std::is_same_v<T, signed char> && !std::is_same_v<T, unsigned char>);
    static_assert(!std::is_convertible_v<T, std::string>, "add texts as std::string");
    std::ostringstream text;
    text << value;
    record.options.push_back({key, text.str()});
}

// The text between double quotes, as given: nothing inside is escaped.
template <>
void addOption<std::string>(CommandRecord& record, const std::string& key, const std::string& value);

// {SIZE:MODE:OWNERS,...} without blanks; the section type is left out.
template <>
void addOption<std::vector<VolumeParams>>(CommandRecord& record, const std::string& key,
                                          const std::vector<VolumeParams>& value);

} // namespace logging
