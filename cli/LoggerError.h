#pragma once

#include <exception>
#include <string>

// Failures to open or write the log and PIN files.
class LoggerError : public std::exception {
protected:
    LoggerError() = default;
};

class FileOpenError : public LoggerError {
public:
    explicit FileOpenError(const std::string& path);
    const char* what() const noexcept override;

private:
    std::string message;
};

class NoSpaceError : public LoggerError {
public:
    const char* what() const noexcept override;
};

class LogWriteError : public LoggerError {
public:
    const char* what() const noexcept override;
};
