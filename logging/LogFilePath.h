#pragma once

#include <filesystem>
#include <string>

namespace logging {

// Raises NoFileNameError when the path's file-name part is empty.
void checkFileName(const std::string& path);

// Creates the path's folder part, when there is one: one level, owner-only, since it holds
// files that may receive generated PINs; an existing folder is accepted. 0, or the system
// error number of the failure.
int makeFolder(const std::string& path);

// The folder that holds the path's file: its folder part, or the working folder.
std::filesystem::path folderOf(const std::string& path);

// False when a user other than this process's effective user could remove or replace a file in
// the folder: it is owned by another user than that one or root, or its group or others may write
// it without the sticky bit. A folder that cannot be looked at (missing, say) passes: the program
// makes a missing one owner-only, and the open of the file fails on anything else.
bool folderIsSafe(const std::filesystem::path& folder);

// True when a file can be made at the path: its folder part is a folder, or can be made by
// makeFolder (nothing is in its place and its own folder exists), and the folder that is written
// into admits this process's effective ids (a read-only mount refuses also root); nothing is
// made.
bool fileCanBeMade(const std::string& path);

// Checks a log or PIN file path before its file is opened: checkFileName, then makeFolder,
// raising FileOpenError for the path when the folder cannot be made.
void prepareFilePath(const std::string& path);

// The folder that holds the running program.
std::string programDirectory();

} // namespace logging
