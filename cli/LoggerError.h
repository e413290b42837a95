#pragma once

#include "cli/ErrorFamily.h"

#include <string>

// Failures to open or write the log and PIN files.
QV_ERROR_ROOT(LoggerError);

QV_ERROR(FileOpenError, LoggerError, (const std::string& path), "Couldn't open or create file: " + path + ".");
// An existing log or PIN file that others could read the PINs from or plant lines into.
QV_ERROR(UnsafeFileError, LoggerError, (const std::string& reason, const std::string& path),
         "File " + reason + ": " + path + ".");
// The folder of a log or PIN file, where another user could remove or replace the file.
QV_ERROR(UnsafeFolderError, LoggerError, (const std::string& path), "Folder writable by other users: " + path + ".");
QV_ERROR(NoSpaceError, LoggerError, (), "Not enough space on the disk to write the log.");
QV_ERROR(LogWriteError, LoggerError, (), "Failed to write log.");
