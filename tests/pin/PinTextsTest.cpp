#include "ProbeRoles.h"

#include "pin/PinRelatedTextFactory.h"

#include <boost/program_options/errors.hpp>
#include <boost/program_options/parsers.hpp>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace po = boost::program_options;

namespace {

using namespace probe_options;

template <typename Adapter>
std::string help(Adapter const& adapter)
{
    std::ostringstream text;
    text << adapter.getOptionsDescription(Config{});
    return text.str();
}

template <typename Adapter>
po::variables_map parse(Adapter const& adapter, std::vector<std::string> const& args)
{
    po::variables_map variables;
    po::store(po::command_line_parser(args).options(adapter.getOptionsDescription(Config{})).run(), variables);
    po::notify(variables);
    return variables;
}

TEST(PinTextsTest, HelpShowsEachRolesOptionsWithTheirModesInRecordOrder)
{
    EXPECT_EQ(help(probeAdapter), "HELP");
    EXPECT_EQ(help(probeDefaultAdapter), "HELP");
}

TEST(PinTextsTest, OptionValuesReadThroughTheTextForms)
{
    const auto settings = parse(probeAdapter, {"-g", "d", "l:8"})["gen-settings"].as<std::vector<PinGenSettingsElement>>();
    EXPECT_EQ(settings, (std::vector<PinGenSettingsElement>{CharsSet::Digits, PinGenSettingsElement(8ull)}));
    EXPECT_THROW(parse(probeAdapter, {"--new-pin-input", "Console"}), po::invalid_option_value);
    EXPECT_THROW(parse(probeAdapter, {"-g", "d", "length:"}), po::invalid_option_value);
}

TEST(PinTextsTest, NamesInBothLanguages)
{
    pin_options::PinRelatedTextFactory factory;
    const std::pair<PinType, const char*> names[] = {
        {{PinBelonging::Admin, PinRelevance::Authorization}, "authorization admin PIN"},
        {{PinBelonging::LocalUser, PinRelevance::New}, "new local user PIN"},
        {{PinBelonging::VolumeOwner, PinRelevance::Authorization}, "authorization volume owner PIN"},
        {{PinBelonging::SelectedUser, PinRelevance::Authorization}, "selected user PIN"},
        {{PinBelonging::SelectedUser, PinRelevance::New}, "selected user PIN"},
    };
    for (const auto& [type, english] : names) {
        EXPECT_EQ(factory.buildPinName(Language::English, type), english);
    }
    EXPECT_EQ(factory.buildPinName(Language::Russian, {PinBelonging::SelectedUser, PinRelevance::New}),
              factory.buildPinName(Language::Russian, {PinBelonging::SelectedUser, PinRelevance::Authorization}));
}

// Every Russian entry exists and is Russian: apart from the words the parser reads and the
// default PIN, no Latin letter is left.
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
            const pin_options::PinParamsDto params{{"new-pin-input", 'N'},
                                                   nullptr,
                                                   type,
                                                   {pin_options::GenerateInputModeDto{{"g", std::nullopt}},
                                                    pin_options::OptionsInputModeDto{{"n", std::nullopt}},
                                                    pin_options::ConsoleInputModeDto{true},
                                                    pin_options::UseDefaultInputModeDto{"x9"}}};
            const std::string texts[] = {
                factory.buildPinName(Language::Russian, type),
                factory.buildInputModeDescription(params).russian,
                factory.buildValueDescription(params).russian,
                factory.buildGenSettingDescription(params).russian,
            };
            for (const auto& text : texts) {
                SCOPED_TRACE(text);
                EXPECT_FALSE(text.empty());
                EXPECT_FALSE(std::regex_search(std::regex_replace(text, parserWords, ""), latin));
            }
        }
    }
}

} // namespace
