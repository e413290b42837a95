#pragma once

#include <string>
#include <string_view>

namespace qvfl_utils::string {

// True when text begins with prefix; an empty prefix always matches.
bool startsWith(const std::string& text, std::string_view prefix);

// The part after the last space (0x20; a tab is no separator): the whole text
// without a space, empty when the text ends with one.
std::string lastWord(const std::string& text);

// Without leading space, tab, form feed, line feed and carriage return, and
// trailing space, tab, line feed and carriage return (no form feed).
std::string trim(const std::string& text);

} // namespace qvfl_utils::string
