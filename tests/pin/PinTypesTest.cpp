#include "cli/CliError.h"
#include "pin/PinGenSettingsElement.h"
#include "pin/PinInputMode.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using CharsSet = PinGenSettingsElement::CharsSet;

template <typename T>
std::optional<T> read(const std::string& text, T initial)
{
    std::istringstream in(text);
    T value = initial;
    if (!(in >> value)) {
        EXPECT_EQ(value, initial) << "a failed read changed the value";
        return std::nullopt;
    }
    return value;
}

TEST(PinInputModeTest, TextFormsBothWays)
{
    const std::pair<PinInputMode, const char*> forms[] = {{PinInputMode::Generate, "generate"},
                                                          {PinInputMode::Options, "options"},
                                                          {PinInputMode::Console, "console"},
                                                          {PinInputMode::Default, "default"}};
    for (const auto& [mode, text] : forms) {
        std::ostringstream out;
        out << mode;
        EXPECT_EQ(out.str(), text);
        EXPECT_EQ(read(text, PinInputMode::Generate == mode ? PinInputMode::Default : PinInputMode::Generate), mode);
    }
    EXPECT_FALSE(read("Options", PinInputMode::Console));
    EXPECT_FALSE(read("option", PinInputMode::Console));
    EXPECT_FALSE(read("", PinInputMode::Console));
}

TEST(PinInputModeTest, ValueWithoutTextWritesNothingAndFails)
{
    std::ostringstream out;
    out << static_cast<PinInputMode>(7);
    EXPECT_TRUE(out.fail());
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(toString(static_cast<PinInputMode>(-1)));
}

TEST(PinGenSettingsElementTest, ReadsSetNamesAndLengths)
{
    const PinGenSettingsElement initial(1ull);
    EXPECT_EQ(read("lower-letters", initial), PinGenSettingsElement(CharsSet::LowerLetters));
    EXPECT_EQ(read("ul", initial), PinGenSettingsElement(CharsSet::UpperLetters));
    EXPECT_EQ(read("d", initial), PinGenSettingsElement(CharsSet::Digits));
    EXPECT_EQ(read("spec-chars", initial), PinGenSettingsElement(CharsSet::SpecChars));
    EXPECT_EQ(read("length:12", initial), PinGenSettingsElement(12ull));
    EXPECT_EQ(read("l:0", initial), PinGenSettingsElement(0ull));
    for (const char* bad : {"Digits", "length:", "length:-1", "len:4", "length:4x", "l4", "length:99999999999", ""}) {
        EXPECT_FALSE(read(bad, initial)) << bad;
    }
}

TEST(PinGenSettingsElementTest, WritesListInLongNamesWithinQuotes)
{
    std::ostringstream out;
    out << std::vector<PinGenSettingsElement>{CharsSet::LowerLetters, CharsSet::Digits, PinGenSettingsElement(8ull)};
    EXPECT_EQ(out.str(), "\"lower-letters digits length:8\"");
    std::ostringstream empty;
    empty << std::vector<PinGenSettingsElement>{};
    EXPECT_EQ(empty.str(), "\"\"");
}

TEST(PinGenSettingsElementTest, ValidateRefusesRepeatedSetsAndLengths)
{
    EXPECT_NO_THROW(validate({CharsSet::Digits, CharsSet::UpperLetters, PinGenSettingsElement(6ull)}));
    EXPECT_THROW(validate({CharsSet::Digits, CharsSet::Digits}), DuplicateGenSettingsError);
    EXPECT_THROW(validate({PinGenSettingsElement(6ull), PinGenSettingsElement(8ull)}), DuplicateGenSettingsError);
}

} // namespace
