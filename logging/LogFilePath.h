#pragma once

#include <filesystem>
#include <string>

namespace logging {

// Raises NoFileNameError when the path's file-name part is empty.
void checkFileName(const std::string& path);

// The folder that holds the path's file: its folder part, or the working folder.
std::filesystem::path folderOf(const std::string& path);

// The folder that holds the running program.
std::string programDirectory();

} // namespace logging
