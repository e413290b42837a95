#include "cli/CliError.h"

CommandRecognitionError::CommandRecognitionError(const std::string& command)
    : message("Unrecognized command: " + command + ".")
{
}

const char* CommandRecognitionError::what() const noexcept
{
    return message.c_str();
}

OptionRecognitionError::OptionRecognitionError(const std::string& option)
    : message("Unrecognized option: " + option + ".")
{
}

const char* OptionRecognitionError::what() const noexcept
{
    return message.c_str();
}

OptionCompatibilityError::OptionCompatibilityError(const std::string& first, const std::string& second)
    : message("Incompatible options: " + first + ", " + second + ".")
{
}

const char* OptionCompatibilityError::what() const noexcept
{
    return message.c_str();
}

CreateMvaCompletenessError::CreateMvaCompletenessError(const std::string& given, const std::string& missing)
    : message("The " + given + " option also requires the " + missing + " option.")
{
}

const char* CreateMvaCompletenessError::what() const noexcept
{
    return message.c_str();
}

LocalUserIdValidationError::LocalUserIdValidationError(unsigned long minimum)
    : message("Local user ID can't be less than " + std::to_string(minimum) + ".")
{
}

const char* LocalUserIdValidationError::what() const noexcept
{
    return message.c_str();
}

PinInputModeSupportError::PinInputModeSupportError(const std::string& mode, const std::string& pinName)
    : message("Input mode " + mode + " isn't supported for " + pinName + ".")
{
}

const char* PinInputModeSupportError::what() const noexcept
{
    return message.c_str();
}

PinOptionCompletenessError::PinOptionCompletenessError(const std::string& pinName)
    : message("Missing specific options for " + pinName + ".")
{
}

const char* PinOptionCompletenessError::what() const noexcept
{
    return message.c_str();
}

PinInputDeductionError::PinInputDeductionError(const std::string& pinName)
    : message("Failed to deduce how to get " + pinName + ".")
{
}

const char* PinInputDeductionError::what() const noexcept
{
    return message.c_str();
}

const char* NoFileNameError::what() const noexcept
{
    return "No file name.";
}

const char* DuplicateGenSettingsError::what() const noexcept
{
    return "Same PIN generation setting cannot be specified more than once.";
}

const char* PinFileNotAllowedError::what() const noexcept
{
    return "The pin file option can't be specified for PIN input modes without generation.";
}
