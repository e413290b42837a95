#include "cli/ErrorReport.h"
#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "cli/LoggerError.h"
#include "cli/internalError.h"

#include <boost/program_options/errors.hpp>
#include <gtest/gtest.h>

#include <iostream>

namespace {

const std::string hints = "To see a list of all supported commands, run 'qvadmin --help'.\n"
                          "To see a list of options supported by a specific command, run 'qvadmin <command> --help'\n";

// Reports what `fail` throws and returns the standard error text; every report fails the run.
template <typename Fail>
std::string report(Fail fail)
{
    testing::internal::CaptureStderr();
    int result = 0;
    try {
        fail();
    } catch (...) {
        result = reportCurrentException();
    }
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, -1);
    return text;
}

TEST(ErrorReportTest, EachKindOfErrorHasItsReport)
{
    EXPECT_EQ(report([] { throw CommandRecognitionError("x"); }), "Syntax error: Unrecognized command: x.\n" + hints);
    EXPECT_EQ(report([] { throw boost::program_options::unknown_option("--y"); }),
              "Syntax error: unrecognised option '--y'\n" + hints);
    EXPECT_EQ(report([] { throw NoSpaceError(); }), "Logger error: Not enough space on the disk to write the log.\n");
    EXPECT_EQ(report([] { throw OperationFailedError(); }), "");
    EXPECT_EQ(report([] { throw NoTokenError(); }), "Error: No token found.\n");
    EXPECT_EQ(report([] { throw WrongCliTokensCount(); }), "Error: Wrong tokens count.\n");
    EXPECT_EQ(report([] { throw 42; }), "Something went wrong...\n");
}

} // namespace
