#include "ProbeRoles.h"

#include "pin/PinRelatedTextFactory.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using namespace probe_options;

// Each option as the help lists it: full key, then the English text.
std::vector<std::string> helpEntries(const BaseCommandInfo& info)
{
    std::vector<std::string> entries;
    for (const auto* option : info.options()) {
        entries.push_back(options::detail::buildFullKey(option->key()) + "|" + option->description().english);
    }
    return entries;
}

TEST(PinTextsTest, HelpShowsEachRolesOptionsWithTheirModesInRecordOrder)
{
    const std::string authEntries[] = {
        "auth-pin-input,P|Authorization (admin) PIN input mode.\nPossible values:\n  console - console input;\n"
        "  options - options input.",
        "auth-pin,p|Authorization (admin) PIN for \"options\" input mode.",
    };
    const std::vector<std::string> probe{
        authEntries[0],
        authEntries[1],
        "new-pin-input,N|New user PIN input mode.\nPossible values:\n  console - console input;\n"
        "  options - options input;\n  generate - generate random PIN.",
        "new-pin,n|New user PIN for \"options\" input mode.",
        "gen-settings,g|New user PIN generation settings for \"generate\" input mode.\nPossible values:\n"
        "  lower-letters (ll) - lower case letters;\n  upper-letters (ul) - upper case letters;\n"
        "  digits (d) - digits;\n  spec-chars (sc) - special letters;\n  length:X (l:X) - generated PIN length.",
    };
    EXPECT_EQ(helpEntries(probeCommandInfo), probe);
    const std::vector<std::string> probeDefault{
        authEntries[0],
        authEntries[1],
        "new-pin-input,N|New user PIN input mode.\nPossible values:\n  options - options input;\n"
        "  default - use default PIN (40417263).",
        "new-user-pin|New user PIN for \"options\" input mode.",
    };
    EXPECT_EQ(helpEntries(probeDefaultCommandInfo), probeDefault);
}

// Every Russian entry exists and is Russian: apart from the words the parser reads and the
// default PIN, no Latin letter is left. The selected user is named without relevance.
TEST(PinTextsTest, RussianTextsCoverEveryKey)
{
    pin_options::PinRelatedTextFactory factory;
    const std::regex parserWords(
        "PIN|generate|options|console|default|lower-letters|upper-letters|digits|spec-chars|ll|ul|\\bd\\b|sc|"
        "length:X|l:X|x9");
    const std::regex latin("[A-Za-z]");
    for (int belonging = 0; belonging <= 4; ++belonging) {
        for (int relevance = 0; relevance <= 1; ++relevance) {
            const PinType type{static_cast<PinBelonging>(belonging), static_cast<PinRelevance>(relevance)};
            // Filled field by field: GCC 12 at -O3 warns of an uninitialised key when the whole
            // record is aggregate-initialised here.
            pin_options::PinParamsDto params;
            params.inputModeKey = {"new-pin-input", 'N'};
            params.configField = nullptr;
            params.pinType = type;
            params.modes = {pin_options::GenerateInputModeDto{{"g", std::nullopt}},
                            pin_options::OptionsInputModeDto{{"n", std::nullopt}},
                            pin_options::ConsoleInputModeDto{true}, pin_options::UseDefaultInputModeDto{"x9"}};
            const std::string texts[] = {
                factory.buildPinName(Language::Russian, type),
                factory.buildInputModeDescription(params).russian,
                factory.buildValueDescription(params).russian,
                factory.buildGenSettingDescription(params).russian,
            };
            if (type.belonging == PinBelonging::SelectedUser) {
                EXPECT_EQ(factory.buildPinName(Language::English, type), "selected user PIN");
                EXPECT_EQ(texts[0], "PIN-код выбранного пользователя");
            }
            for (const auto& text : texts) {
                SCOPED_TRACE(text);
                EXPECT_FALSE(text.empty());
                EXPECT_FALSE(std::regex_search(std::regex_replace(text, parserWords, ""), latin));
            }
        }
    }
}

} // namespace
