#pragma once

#include <string>

namespace logging {

// Checks a log or PIN file path before its file is opened: an empty file-name part raises
// NoFileNameError; the folder part, when there is one, is created (one level, an existing one
// is accepted; the file system's error otherwise).
void prepareFilePath(const std::string& path);

// The folder that holds the running program.
std::string programDirectory();

} // namespace logging
