#include "cli/controlCharacters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ControlCharactersTest, ControlsAreFoundAndEscapedAndEverythingElseIsKept)
{
    struct Row {
        std::string text;
        std::string escaped;
    };
    const Row rows[] = {
        {"Dept 7", "Dept 7"},
        {"a\nb\tc\r", "a\\nb\\tc\\r"},
        {"\x1b[31m\x7f", "\\x1b[31m\\x7f"},
        // UTF-8 characters, also those whose bytes fall between 0x80 and 0x9F, and U+00A0.
        {"Кворвик \xe2\x80\x9c\xc2\xa0", "Кворвик \xe2\x80\x9c\xc2\xa0"},
        // C1 controls as characters (NEL, CSI) and as bytes outside valid UTF-8.
        {"\xc2\x85\xc2\x9b", "\\u0085\\u009b"},
        {"\x9b"
         "31m",
         "\\x9b31m"},
        // Cut, overlong and surrogate sequences: their bytes from 0x80 to 0x9F are controls.
        {"\xe2\x80", "\xe2\\x80"},
        {"\xc1\x85", "\xc1\\x85"},
        {"\xed\xa0\x80", "\xed\xa0\\x80"},
        // Other bytes outside valid UTF-8 are no controls.
        {"\xff\xc0\xc2", "\xff\xc0\xc2"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(escapeControlCharacters(row.text), row.escaped);
        EXPECT_EQ(hasControlCharacters(row.text), row.text != row.escaped) << row.escaped;
    }
}

} // namespace
