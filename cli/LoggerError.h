#pragma once

#include "cli/ErrorFamily.h"

#include <string>

// Failures to open or write the log and PIN files.
QV_ERROR_ROOT(LoggerError);

QV_ERROR(FileOpenError, LoggerError, (const std::string& path), "Couldn't open or create file: " + path + ".");
// An existing log or PIN file that others could read the PINs from or plant lines into.
QV_ERROR(UnsafeFileError, LoggerError, (const std::string& reason, const std::string& path),
         "File " + reason + ": " + path + ".");
// A folder on the way to a log or PIN file, where another user could remove or replace the file
// or a folder below: one that group or others may write without the sticky bit, or one of another
// user's.
QV_ERROR(ForeignFolderError, LoggerError, (const std::string& path), "Folder owned by another user: " + path + ".");
QV_ERROR(UnsafeFolderError, LoggerError, (const std::string& path), "Folder writable by other users: " + path + ".");
// A link on the way to a log or PIN file that another user owns in a folder where they could
// replace it, pointing the file elsewhere.
QV_ERROR(ForeignLinkError, LoggerError, (const std::string& path), "Link owned by another user: " + path + ".");
// The highest missing folder on the way to a log or PIN file, where none is to be made.
QV_ERROR(FolderNotFoundError, LoggerError, (const std::string& path), "Folder not found: " + path + ".");
// A log or PIN file's name, or a folder's on its way, that the file system cannot take.
QV_ERROR(NameTooLongError, LoggerError, (const std::string& path), "File name too long: " + path + ".");
QV_ERROR(NoSpaceError, LoggerError, (), "Not enough space on the disk to write the log.");
QV_ERROR(LogWriteError, LoggerError, (), "Failed to write log.");
