#include "cli/BoostCommandInfoAdapter.h"
#include "cli/FlagCliOption.h"
#include "cli/TypedCliOption.h"
#include "cli/internalError.h"

#include <boost/program_options/errors.hpp>
#include <boost/program_options/parsers.hpp>
#include <gtest/gtest.h>

#include <sstream>

namespace po = boost::program_options;

namespace {

const TypedOptionAttributes<unsigned long> minLengthAttributes{
    {"min-length", std::nullopt}, {"Minimal length.", "Минимальная длина."}, 4ul, std::nullopt, false, false,
    &Config::minPinLength};
const TypedOptionAttributes<std::string> labelAttributes{
    {"label", 'l'}, {"Token label.", "Метка."}, std::nullopt, std::string("LABEL"), false, false, nullptr};
const TypedOptionAttributes<bool> allowAttributes{
    {"allow", std::nullopt}, {"Allow.", "Разрешить."}, true, std::nullopt, false, false, nullptr};
const TypedOptionAttributes<std::vector<unsigned long long>> serialsAttributes{
    {"serials", 'e'}, {"Serials.", "Номера."}, std::nullopt, std::nullopt, false, true, nullptr};
const TypedOptionAttributes<std::vector<unsigned long long>> badDefaultAttributes{
    {"bad", std::nullopt}, {"Bad.", "Плохо."}, std::vector<unsigned long long>{1}, std::nullopt, false, false, nullptr};
const FlagOptionAttributes repairAttributes{{"repair", std::nullopt}, {"Repair.", "Починить."}};

using MinLength = TypedCliOption<&minLengthAttributes>;
using Label = TypedCliOption<&labelAttributes>;
using Allow = TypedCliOption<&allowAttributes>;
using Serials = TypedCliOption<&serialsAttributes>;
using Repair = FlagCliOption<&repairAttributes>;

// An option class written against the interface directly, as the PIN options are.
class ModeOption : public BaseTypedCliOption<PinInputMode> {
public:
    const OptionKey& key() const override { return optionKey; }
    const CliElementDescription& description() const override { return text; }
    const std::optional<PinInputMode>& defaultValue() const override { return defaultMode; }
    const std::optional<std::string>& valueName() const override { return name; }
    bool isRequired() const override { return false; }
    bool isMultitoken() const override { return false; }
    std::optional<PinInputMode> Config::*configField() const override { return &Config::authPinInputMode; }

private:
    OptionKey optionKey{"auth-pin-input", 'P'};
    CliElementDescription text{"Input mode.", "Режим."};
    std::optional<PinInputMode> defaultMode = PinInputMode::Options;
    std::optional<std::string> name;
};

const CommandInfo<ModeOption, MinLength, Label, Allow, Serials, Repair> testInfo{
    "test", CommandCategory::TokenManagement, {"Test command.", "Тест."}};
const options::BoostCommandInfoAdapter<ModeOption, MinLength, Label, Allow, Serials, Repair> adapter(testInfo);

po::variables_map parse(std::vector<std::string> args, const Config& config = {})
{
    po::variables_map variables;
    po::store(po::command_line_parser(args).options(adapter.getOptionsDescription(config)).run(), variables);
    po::notify(variables);
    return variables;
}

std::string help(const Config& config)
{
    std::ostringstream out;
    out << adapter.getOptionsDescription(config);
    return out.str();
}

TEST(OptionAdapterTest, ConfiguredValuesBecomeDefaultsWithTheDefaultedMark)
{
    Config config;
    config.minPinLength = 8;
    config.authPinInputMode = PinInputMode::Console;
    const auto variables = parse({}, config);
    EXPECT_EQ(adapter.value<MinLength>(&variables), 8u);
    EXPECT_TRUE(variables.at("min-length").defaulted());
    EXPECT_EQ(adapter.value<ModeOption>(&variables), PinInputMode::Console);
    EXPECT_TRUE(variables.at("auth-pin-input").defaulted());
    EXPECT_NE(help(config).find("--min-length arg (=8)"), std::string::npos);
    EXPECT_NE(help(config).find("-P [ --auth-pin-input ] arg (=console)"), std::string::npos);
}

TEST(OptionAdapterTest, RecordDefaultsApplyWithoutConfigurationAndGivenValuesWin)
{
    const auto defaults = parse({});
    EXPECT_EQ(adapter.value<MinLength>(&defaults), 4u);
    EXPECT_EQ(adapter.value<ModeOption>(&defaults), PinInputMode::Options);
    EXPECT_TRUE(adapter.value<Allow>(&defaults));
    EXPECT_NE(help({}).find("--allow arg (=true)"), std::string::npos);

    Config config;
    config.minPinLength = 8;
    const auto given = parse({"--min-length=10", "-P", "generate", "-lX", "--allow", "false"}, config);
    EXPECT_EQ(adapter.value<MinLength>(&given), 10u);
    EXPECT_FALSE(given.at("min-length").defaulted());
    EXPECT_EQ(adapter.value<ModeOption>(&given), PinInputMode::Generate);
    EXPECT_EQ(adapter.value<Label>(&given), "X");
    EXPECT_FALSE(adapter.value<Allow>(&given));
}

TEST(OptionAdapterTest, HelpShowsNamesValueNamesAndTextsWithNewline)
{
    const auto text = help({});
    EXPECT_NE(text.find("-l [ --label ] LABEL"), std::string::npos);
    EXPECT_NE(text.find("Token label.\n"), std::string::npos);
    EXPECT_EQ(text.find("Тест"), std::string::npos);
    EXPECT_EQ(options::BoostOptionsAdapter<>::buildFullKey({"label", 'l'}), "label,l");
    EXPECT_EQ(options::BoostOptionsAdapter<>::buildFullKey({"label", std::nullopt}), "label");
}

TEST(OptionAdapterTest, FlagsAndOptionsWithoutDefaultAppearOnlyWhenGiven)
{
    const auto absent = parse({});
    EXPECT_EQ(absent.count("repair"), 0u);
    EXPECT_EQ(absent.count("label"), 0u);
    try {
        adapter.value<Label>(&absent);
        FAIL() << "no error for an absent option";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "map::at:  key not found");
    }
    EXPECT_EQ(parse({"--repair"}).count("repair"), 1u);
    EXPECT_THROW(parse({"--repair=1"}), po::invalid_command_line_syntax);
}

TEST(OptionAdapterTest, StoredValueOfAnotherTypeIsABadCast)
{
    po::variables_map variables;
    variables.emplace("label", po::variable_value(boost::any(42), false));
    try {
        adapter.value<Label>(&variables);
        FAIL() << "no error for a value of another type";
    } catch (const boost::bad_any_cast& e) {
        EXPECT_STREQ(e.what(), "boost::bad_any_cast: failed conversion using boost::any_cast");
    }
}

TEST(OptionAdapterTest, NegativeTextForUnsignedOptionsIsInvalid)
{
    EXPECT_THROW(parse({"--min-length=-1"}), po::invalid_option_value);
    EXPECT_THROW(parse({"--min-length", " -1"}), po::invalid_option_value);
    EXPECT_THROW(parse({"--serials=-2"}), po::invalid_option_value);
    const auto serials = parse({"-e", "5", "18446744073709551615"});
    EXPECT_EQ(adapter.value<Serials>(&serials), (std::vector<unsigned long long>{5, 18446744073709551615ull}));
}

TEST(OptionAdapterTest, DefaultOfAListIsRefusedAsNotPrintable)
{
    using Bad = TypedCliOption<&badDefaultAttributes>;
    const OptionsHolder<Bad> holder;
    const options::BoostOptionsAdapter<Bad> badAdapter(holder, options::BoostOptionsAdapter<Bad>::defaultFormatter);
    po::options_description desc;
    EXPECT_THROW(badAdapter.addOptionsDescription({}, desc), NotPrintableTypeError);
}

TEST(OptionAdapterTest, OptionObjectsAreMadeOnceAndListedInOrder)
{
    const auto first = testInfo.options();
    const auto second = testInfo.options();
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first[0]->key().name, "auth-pin-input");
    EXPECT_EQ(first[5]->key().name, "repair");
    EXPECT_FALSE(first[1]->key().shortName);
    EXPECT_EQ(first[2]->key().shortName, 'l');
}

} // namespace
