#include "cli/ConfigReader.h"
#include "cli/CliError.h"

#include <boost/program_options/errors.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace po = boost::program_options;

namespace {

const std::vector<std::string> commandNames{"format", "set-so-pin"};

class ConfigReaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvconfig-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = dir / "qvadmin_conf.ini";
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    ConfigHolder read(const std::string& text)
    {
        std::ofstream(path) << text;
        return readConfig(path, commandNames);
    }

    // Runs the reader on text that must fail with E and returns the error's message.
    template <typename E>
    std::string failure(const std::string& text)
    {
        try {
            read(text);
        } catch (const E& e) {
            return e.what();
        }
        ADD_FAILURE() << "no error for: " << text;
        return {};
    }

    std::filesystem::path dir;
    std::filesystem::path path;
};

TEST_F(ConfigReaderTest, MissingFileGivesEmptyConfigurations)
{
    const auto holder = readConfig(path, commandNames);
    EXPECT_FALSE(holder.getConfig().logFile);
    EXPECT_FALSE(holder.getConfig("format").pinGenSettings);
    EXPECT_FALSE(holder.getConfig("unknown").minPinLength);
}

TEST_F(ConfigReaderTest, SectionsOverrideTheGeneralPartKeyByKey)
{
    const auto holder = read("log-file=general.log\n"
                             "auth-pin-input=console\n"
                             "min-pin-length=6\n"
                             "gen-settings=digits ll length:8\n"
                             "[format]\n"
                             "log-file=format.log\n"
                             "max-pin-retry-count=5\n"
                             "[set-so-pin]\n");
    const auto& general = holder.getConfig();
    EXPECT_EQ(general.logFile, "general.log");
    EXPECT_EQ(general.authPinInputMode, PinInputMode::Console);
    EXPECT_EQ(general.minPinLength, 6u);
    EXPECT_FALSE(general.maxPinRetryCount);
    const std::vector<PinGenSettingsElement> settings{PinGenSettingsElement::CharsSet::Digits,
                                                      PinGenSettingsElement::CharsSet::LowerLetters,
                                                      PinGenSettingsElement(8ull)};
    EXPECT_EQ(general.pinGenSettings, settings);

    const auto& format = holder.getConfig("format");
    EXPECT_EQ(format.logFile, "format.log");
    EXPECT_EQ(format.maxPinRetryCount, 5u);
    EXPECT_EQ(format.authPinInputMode, PinInputMode::Console);
    EXPECT_EQ(format.pinGenSettings, settings);

    EXPECT_EQ(holder.getConfig("set-so-pin").logFile, "general.log");
    EXPECT_FALSE(holder.getConfig("set-so-pin").maxPinRetryCount);
}

TEST_F(ConfigReaderTest, UndeclaredKeysAreUnknownOptions)
{
    EXPECT_EQ(failure<po::unknown_option>("foo=1\n"), "unrecognised option 'foo'");
    EXPECT_EQ(failure<po::unknown_option>("[list]\nlog-file=x\n"), "unrecognised option 'list.log-file'");
}

TEST_F(ConfigReaderTest, LineWithoutKeyAndValueIsASyntaxError)
{
    EXPECT_EQ(failure<po::invalid_config_file_syntax>("log-file\n"),
              "the options configuration file contains an invalid line 'log-file'");
}

TEST_F(ConfigReaderTest, SameKeyTwiceInOnePartIsRefused)
{
    EXPECT_EQ(failure<po::multiple_occurrences>("log-file=a\nlog-file=b\n"),
              "option 'log-file' cannot be specified more than once");
    EXPECT_EQ(failure<po::multiple_occurrences>("gen-settings=d\ngen-settings=ll\n"),
              "option 'gen-settings' cannot be specified more than once");
    EXPECT_EQ(failure<po::multiple_occurrences>("[format]\ngen-settings=d\ngen-settings=ll\n"),
              "option 'format.gen-settings' cannot be specified more than once");
    // Once in the general part and once in a section is an override, not a repetition.
    EXPECT_NO_THROW(read("gen-settings=d\n[format]\ngen-settings=ll\n"));
}

TEST_F(ConfigReaderTest, ValuesThatDoNotConvertAreInvalid)
{
    EXPECT_EQ(failure<po::invalid_option_value>("auth-pin-input=Options\n"),
              "the argument ('Options') for option 'auth-pin-input' is invalid");
    EXPECT_EQ(failure<po::invalid_option_value>("min-pin-length=abc\n"),
              "the argument ('abc') for option 'min-pin-length' is invalid");
    EXPECT_EQ(failure<po::invalid_option_value>("gen-settings=\n"),
              "the argument for option 'gen-settings' is invalid");
    EXPECT_EQ(failure<po::invalid_option_value>("gen-settings=digits xx\n"),
              "the argument ('xx') for option 'gen-settings' is invalid");
}

TEST_F(ConfigReaderTest, NegativeUnsignedValuesAreInvalidInsteadOfWrappingAround)
{
    EXPECT_EQ(failure<po::invalid_option_value>("min-pin-length=-1\n"),
              "the argument ('-1') for option 'min-pin-length' is invalid");
    EXPECT_EQ(failure<po::invalid_option_value>("[format]\nmax-pin-retry-count= -3\n"),
              "the argument ('-3') for option 'format.max-pin-retry-count' is invalid");
}

TEST_F(ConfigReaderTest, RepeatedGenerationSettingsAreDuplicates)
{
    const std::string message = "Same PIN generation setting cannot be specified more than once.";
    EXPECT_EQ(failure<DuplicateGenSettingsError>("gen-settings=digits d\n"), message);
    EXPECT_EQ(failure<DuplicateGenSettingsError>("[format]\ngen-settings=length:4 l:6\n"), message);
    // The general part is checked even when every section replaces it.
    EXPECT_EQ(failure<DuplicateGenSettingsError>("gen-settings=ll ll\n[format]\ngen-settings=d\n"
                                                 "[set-so-pin]\ngen-settings=d\n"),
              message);
}

TEST_F(ConfigReaderTest, UnreadableFileIsAReadingError)
{
    std::ofstream(path) << "log-file=x\n";
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (std::ifstream(path).is_open()) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    EXPECT_THROW(readConfig(path, commandNames), po::reading_file);
}

} // namespace
