#include "FakeCommand.h"

#include "cli/CliError.h"
#include "cli/HelpCommand.h"
#include "cli/ParamParser.h"
#include "cli/VersionCommand.h"

#include <boost/program_options/errors.hpp>
#include <gtest/gtest.h>

namespace po = boost::program_options;

namespace {

class ParamParserTest : public testing::Test {
protected:
    void SetUp() override
    {
        parser.registerCommand(fake);
        parser.registerCommand(std::make_shared<VersionCommand>());
    }

    std::shared_ptr<BaseCommand> parse(std::vector<std::string> args)
    {
        args.insert(args.begin(), "qvadmin");
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        return parser.parse(static_cast<int>(args.size()), argv.data());
    }

    ParamParser parser;
    std::shared_ptr<FakeCommand> fake = std::make_shared<FakeCommand>("fake", CommandCategory::Info, "Fake.");
};

TEST_F(ParamParserTest, WithoutCommandNameTheHelpCommandRuns)
{
    EXPECT_NE(std::dynamic_pointer_cast<HelpCommand>(parse({})), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<HelpCommand>(parse({"-h"})), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<HelpCommand>(parse({"--help"})), nullptr);
    EXPECT_THROW(parse({"--help", "version"}), OptionRecognitionError);
    EXPECT_THROW(parse({"--serial=5"}), po::unknown_option);
}

TEST_F(ParamParserTest, FirstArgumentNamesTheCommandExactly)
{
    EXPECT_EQ(parse({"fake", "-l", "x"}), fake);
    EXPECT_EQ(parse({"--command=fake", "--label=x"}), fake);
    try {
        parse({"Fake"});
        FAIL() << "a command name in other case was accepted";
    } catch (const CommandRecognitionError& e) {
        EXPECT_STREQ(e.what(), "Unrecognized command: Fake.");
    }
    EXPECT_THROW(parse({""}), CommandRecognitionError);
}

TEST_F(ParamParserTest, CommandOptionsAreParsedStrictly)
{
    parse({"fake", "-lx", "-s", "12"});
    ASSERT_NE(fake->varMap, nullptr);
    EXPECT_EQ(fake->varMap->at("label").as<std::string>(), "x");
    EXPECT_EQ(fake->varMap->at("serial").as<unsigned long long>(), 12u);
    EXPECT_THROW(parse({"fake", "-lx", "extra"}), OptionRecognitionError);
    EXPECT_THROW(parse({"fake", "-lx", "--lab=y"}), po::unknown_option);
    EXPECT_THROW(parse({"fake", "-lx", "--serial"}), po::invalid_command_line_syntax);
    EXPECT_THROW(parse({"fake", "-lx", "--serial=abc"}), po::invalid_option_value);
    EXPECT_THROW(parse({"fake", "-lx", "--serial=-1"}), po::invalid_option_value);
    EXPECT_THROW(parse({"version", "--serial=1"}), po::unknown_option);
}

TEST_F(ParamParserTest, RequiredOptionsAreCheckedUnlessHelpIsAsked)
{
    EXPECT_THROW(parse({"fake"}), po::required_option);
    EXPECT_EQ(parse({"fake", "--help"}), fake);
    EXPECT_EQ(fake->varMap->count("help"), 1u);
}

} // namespace
