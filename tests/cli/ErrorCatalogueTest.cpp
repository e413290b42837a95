#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "cli/LoggerError.h"
#include "cli/internalError.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

TEST(ErrorCatalogueTest, FormattedMessages)
{
    EXPECT_STREQ(CommandRecognitionError("frmat").what(), "Unrecognized command: frmat.");
    EXPECT_STREQ(CommandRecognitionError("").what(), "Unrecognized command: .");
    EXPECT_STREQ(OptionRecognitionError("x").what(), "Unrecognized option: x.");
    EXPECT_STREQ(OptionCompatibilityError("serial", "exclude").what(), "Incompatible options: serial, exclude.");
    EXPECT_STREQ(CreateMvaCompletenessError("max-records-count", "max-record-size").what(),
                 "The max-records-count option also requires the max-record-size option.");
    EXPECT_STREQ(LocalUserIdValidationError(3).what(), "Local user ID can't be less than 3.");
    EXPECT_STREQ(PinInputModeSupportError("console", "new user PIN").what(),
                 "Input mode console isn't supported for new user PIN.");
    EXPECT_STREQ(WrongPinError("user", 0).what(), "Incorrect user PIN. Attempts left: 0.");
    EXPECT_STREQ(WrongPinError("so", -1).what(), "Incorrect so PIN. Attempts left: -1.");
    EXPECT_STREQ(WrongMvaError("mva-5", 3).what(), "The host PC wasn't found in mva-5. Attempts left: 3.");
    EXPECT_STREQ(PinLockedError("").what(), " PIN is blocked.");
    EXPECT_STREQ(MvaLockedError("").what(), " is blocked.");
    EXPECT_STREQ(NoneOwnerNotAllowedError().what(), "Owner can't be 'none' for non-journal sections.");
    EXPECT_STREQ(FileOpenError("").what(), "Couldn't open or create file: .");
}

TEST(ErrorCatalogueTest, FixedMessages)
{
    EXPECT_STREQ(DuplicateGenSettingsError().what(), "Same PIN generation setting cannot be specified more than once.");
    EXPECT_STREQ(OperationFailedError().what(), "Operation failed.");
    EXPECT_STREQ(UnsupportedAuthTypeError().what(),
                 "Couldn't modify the volume's access mode because it's protected with an unsupported "
                 "authentication type.");
    EXPECT_STREQ(WrongCliTokensCount().what(), "Wrong tokens count.");
    EXPECT_STREQ(NotPrintableTypeError().what(), "Type cannot be printed.");
    EXPECT_STREQ(NoSpaceError().what(), "Not enough space on the disk to write the log.");
    EXPECT_STREQ(LogWriteError().what(), "Failed to write log.");
}

TEST(ErrorCatalogueTest, EachClassHasItsRoot)
{
    EXPECT_TRUE((std::is_base_of_v<CliError, NoFileNameError>));
    EXPECT_TRUE((std::is_base_of_v<CliError, PinFileNotAllowedError>));
    EXPECT_TRUE((std::is_base_of_v<DomainError, OperationFailedError>));
    EXPECT_TRUE((std::is_base_of_v<DomainError, TooShortGeneratedPinLength>));
    EXPECT_TRUE((std::is_base_of_v<internalError, WrongCliTokensCount>));
    EXPECT_FALSE((std::is_base_of_v<CliError, WrongCliTokensCount>));
    EXPECT_TRUE((std::is_base_of_v<internalError, UnknownError>));
    EXPECT_TRUE((std::is_base_of_v<LoggerError, NoSpaceError>));
    EXPECT_TRUE((std::is_base_of_v<std::exception, LoggerError>));
}

} // namespace
