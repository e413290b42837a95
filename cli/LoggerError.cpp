#include "cli/LoggerError.h"

FileOpenError::FileOpenError(const std::string& path)
    : message("Couldn't open or create file: " + path + ".")
{
}

const char* FileOpenError::what() const noexcept
{
    return message.c_str();
}

const char* NoSpaceError::what() const noexcept
{
    return "Not enough space on the disk to write the log.";
}

const char* LogWriteError::what() const noexcept
{
    return "Failed to write log.";
}
