#include "QvadminRun.h"

#include <gtest/gtest.h>

namespace {

const std::string generalOptions = "\n"
                                   "Strategy options:\n"
                                   "  --parallel                         Invoke command in parallel on all tokens.\n"
                                   "\n"
                                   "Filter options:\n"
                                   "  -s [ --serial ] arg (SN)           Choose token by decimal serial number.\n"
                                   "  -e [ --exclude ] arg (SN1 SN2...)  Exclude tokens by decimal serial number.\n"
                                   "\n"
                                   "Logger options:\n"
                                   "  --log-file arg                     Write log in certain file.\n"
                                   "  --no-log                           No logging.\n"
                                   "\n"
                                   "PIN options:\n"
                                   "  --pin-file arg                     Path to file where generated PINs will be \n"
                                   "                                     stored.\n"
                                   "  --no-pin-file                      Do not write generated PINs to a file.\n"
                                   "\n"
                                   "General options:\n"
                                   "  -h [ --help ]                      Show help. If used without command, show \n"
                                   "                                     commands list.\n"
                                   "\n";

const std::string hints = "To see a list of all supported commands, run 'qvadmin --help'.\n"
                          "To see a list of options supported by a specific command, run 'qvadmin <command> --help'\n";

void expectSyntaxError(const RunResult& result, const std::string& message)
{
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Syntax error: " + message + "\n" + hints);
}

class QvadminTest : public testing::Test {
protected:
    QvadminRun qvadmin;
};

TEST_F(QvadminTest, WithoutArgumentsOrWithHelpPrintsOptionsAndCommands)
{
    const auto plain = qvadmin.run({});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(plain.out.substr(0, generalOptions.size()), generalOptions);
    EXPECT_NE(plain.out.find("Info commands:\n"), std::string::npos);
    EXPECT_NE(plain.out.find("\n  version                            Show application version.\n"), std::string::npos);
    EXPECT_EQ(plain.out.substr(plain.out.size() - 2), "\n\n");
    for (const char* help : {"--help", "-h"}) {
        const auto asked = qvadmin.run({help});
        EXPECT_EQ(asked.status, 0);
        EXPECT_EQ(asked.out, plain.out);
    }
}

TEST_F(QvadminTest, VersionPrintsOneLine)
{
    const auto version = qvadmin.run({"version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "qvadmin version:\t3.2.1\n");
    EXPECT_EQ(version.err, "");
    const auto help = qvadmin.run({"version", "-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, "Show application version.\n");
}

TEST_F(QvadminTest, CommandLineErrorsAreSyntaxErrors)
{
    expectSyntaxError(qvadmin.run({"frobnicate"}), "Unrecognized command: frobnicate.");
    expectSyntaxError(qvadmin.run({"Version"}), "Unrecognized command: Version.");
    expectSyntaxError(qvadmin.run({"version", "now"}), "Unrecognized option: now.");
    expectSyntaxError(qvadmin.run({"version", "--serial=5"}), "unrecognised option '--serial=5'");
    expectSyntaxError(qvadmin.run({"version", "--hel"}), "unrecognised option '--hel'");
    expectSyntaxError(qvadmin.run({"--help", "version"}), "Unrecognized option: version.");
    expectSyntaxError(qvadmin.run({"--parallel"}), "unrecognised option '--parallel'");
    expectSyntaxError(qvadmin.run({"version", "--help=yes"}), "option '--help' does not take any arguments");
}

TEST_F(QvadminTest, OptionValueErrorsAreSyntaxErrors)
{
    expectSyntaxError(qvadmin.run({"list-tokens", "--serial"}),
                      "the required argument for option '--serial' is missing");
    expectSyntaxError(qvadmin.run({"list-tokens", "-s", "12ab"}),
                      "the argument ('12ab') for option '--serial' is invalid");
    expectSyntaxError(qvadmin.run({"list-tokens", "--serial=-1"}),
                      "the argument ('-1') for option '--serial' is invalid");
    expectSyntaxError(qvadmin.run({"list-tokens", "-e", "5", "--exclude=-7"}),
                      "the argument ('-7') for option '--exclude' is invalid");
}

TEST_F(QvadminTest, ConfigurationErrorsStopEveryRun)
{
    const std::pair<const char*, const char*> faults[] = {
        {"foo=1\n", "unrecognised option 'foo'"},
        {"[no-such-command]\nlog-file=x\n", "unrecognised option 'no-such-command.log-file'"},
        {"log-file\n", "the options configuration file contains an invalid line 'log-file'"},
        {"min-pin-length=-1\n", "the argument ('-1') for option 'min-pin-length' is invalid"},
        {"[version]\ngen-settings=d\ngen-settings=d\n",
         "option 'version.gen-settings' cannot be specified more than once"},
        {"gen-settings=digits d\n", "Same PIN generation setting cannot be specified more than once."},
    };
    for (const auto& [config, message] : faults) {
        qvadmin.writeConfig(config);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{}, {"--help"}, {"version"}, {"nothing"}}) {
            SCOPED_TRACE(std::string(config) + (args.empty() ? "" : args.front()));
            expectSyntaxError(qvadmin.run(args), message);
        }
    }
}

TEST_F(QvadminTest, ConfiguredFilesBecomeShownDefaults)
{
    qvadmin.writeConfig("log-file=run.log\npin-file=pins.txt\n");
    const auto help = qvadmin.run({});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("  --log-file arg (=run.log)          Write log in certain file.\n"), std::string::npos);
    EXPECT_NE(help.out.find("  --pin-file arg (=pins.txt)         Path to file where generated PINs will be \n"),
              std::string::npos);
}

TEST_F(QvadminTest, LostOutputFailsTheRun)
{
    const auto result = qvadmin.run({"version"}, "/dev/full");
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "Error: Failed to write to the standard output.\n");
}

TEST_F(QvadminTest, StartsWithVirtualTokensPlugged)
{
    qvadmin.createTokens(3);
    const auto version = qvadmin.run({"version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "qvadmin version:\t3.2.1\n");
    EXPECT_EQ(version.err, "");
}

TEST_F(QvadminTest, ModuleThatCannotBeBoundEndsTheRun)
{
    qvadmin.replaceModule(QV_BROKEN_MODULE);
    const auto result = qvadmin.run({"version"});
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Error: PKCS11: CKR_FUNCTION_REJECTED\n");
}

} // namespace
