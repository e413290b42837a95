#pragma once

#include "cli/ErrorFamily.h"

#include <string>

// Errors the user fixes by changing the command line or the configuration file.
// The entry point reports every one of them as a syntax error.
QV_ERROR_ROOT(CliError);

QV_ERROR(CommandRecognitionError, CliError, (const std::string& command), "Unrecognized command: " + command + ".");
QV_ERROR(OptionRecognitionError, CliError, (const std::string& option), "Unrecognized option: " + option + ".");
QV_ERROR(OptionCompatibilityError, CliError, (const std::string& first, const std::string& second),
         "Incompatible options: " + first + ", " + second + ".");
QV_ERROR(CreateMvaCompletenessError, CliError, (const std::string& given, const std::string& missing),
         "The " + given + " option also requires the " + missing + " option.");
QV_ERROR(LocalUserIdValidationError, CliError, (unsigned long minimum),
         "Local user ID can't be less than " + std::to_string(minimum) + ".");
QV_ERROR(PinInputModeSupportError, CliError, (const std::string& mode, const std::string& pinName),
         "Input mode " + mode + " isn't supported for " + pinName + ".");
QV_ERROR(PinOptionCompletenessError, CliError, (const std::string& pinName),
         "Missing specific options for " + pinName + ".");
QV_ERROR(PinInputDeductionError, CliError, (const std::string& pinName),
         "Failed to deduce how to get " + pinName + ".");
QV_ERROR(NoFileNameError, CliError, (), "No file name.");
QV_ERROR(DuplicateGenSettingsError, CliError, (), "Same PIN generation setting cannot be specified more than once.");
QV_ERROR(PinFileNotAllowedError, CliError, (),
         "The pin file option can't be specified for PIN input modes without generation.");
