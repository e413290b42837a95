#pragma once

#include <exception>
#include <string>

// Errors the user fixes by changing the command line or the configuration file.
// The entry point reports every one of them as a syntax error.
class CliError : public std::exception {
protected:
    CliError() = default;
};

class CommandRecognitionError : public CliError {
public:
    explicit CommandRecognitionError(const std::string& command);
    const char* what() const noexcept override;

private:
    std::string message;
};

class OptionRecognitionError : public CliError {
public:
    explicit OptionRecognitionError(const std::string& option);
    const char* what() const noexcept override;

private:
    std::string message;
};

class OptionCompatibilityError : public CliError {
public:
    OptionCompatibilityError(const std::string& first, const std::string& second);
    const char* what() const noexcept override;

private:
    std::string message;
};

class CreateMvaCompletenessError : public CliError {
public:
    CreateMvaCompletenessError(const std::string& given, const std::string& missing);
    const char* what() const noexcept override;

private:
    std::string message;
};

class LocalUserIdValidationError : public CliError {
public:
    explicit LocalUserIdValidationError(unsigned long minimum);
    const char* what() const noexcept override;

private:
    std::string message;
};

class PinInputModeSupportError : public CliError {
public:
    PinInputModeSupportError(const std::string& mode, const std::string& pinName);
    const char* what() const noexcept override;

private:
    std::string message;
};

class PinOptionCompletenessError : public CliError {
public:
    explicit PinOptionCompletenessError(const std::string& pinName);
    const char* what() const noexcept override;

private:
    std::string message;
};

class PinInputDeductionError : public CliError {
public:
    explicit PinInputDeductionError(const std::string& pinName);
    const char* what() const noexcept override;

private:
    std::string message;
};

class NoFileNameError : public CliError {
public:
    const char* what() const noexcept override;
};

class DuplicateGenSettingsError : public CliError {
public:
    const char* what() const noexcept override;
};

class PinFileNotAllowedError : public CliError {
public:
    const char* what() const noexcept override;
};
