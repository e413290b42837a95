#pragma once

#include "logging/CommandRecord.h"

#include <sstream>
#include <string>
#include <type_traits>

namespace logging {

// Appends an option to the command record with the text of its value: numbers, bools ("1" or
// "0") and the value types as a default-formatted stream writes them (their own text forms).
// Texts have their own overload.
template <typename T, typename = std::enable_if_t<!std::is_convertible_v<T, std::string>>>
void addOption(CommandRecord& record, const std::string& key, const T& value)
{
    // A character type would be written as a character, not as the number it holds.
    static_assert(!std::is_same_v<T, char> && !std::is_same_v<T, signed char> &&
                  !std::is_same_v<T, unsigned char>);
    std::ostringstream text;
    text << value;
    record.options.push_back({key, text.str()});
}

// The text between double quotes, as given: nothing inside is escaped.
void addOption(CommandRecord& record, const std::string& key, const std::string& value);

}  // namespace logging
