#include "logging/LogFilePath.h"

#include "cli/CliError.h"
#include "cli/LoggerError.h"

#include <boost/dll/runtime_symbol_info.hpp>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

namespace logging {

void checkFileName(const std::string& path)
{
    if (std::filesystem::path(path).filename().empty())
        throw NoFileNameError();
}

int makeFolder(const std::string& path)
{
    const auto folder = std::filesystem::path(path).parent_path();
    if (folder.empty() || ::mkdir(folder.c_str(), 0700) == 0)
        return 0;
    // Something that exists in the folder's place and is no folder fails at the file's open.
    return errno == EEXIST ? 0 : errno;
}

bool folderCanBeMade(const std::string& path)
{
    const auto folder = std::filesystem::path(path).parent_path();
    const auto above = folder.has_parent_path() ? folder.parent_path() : std::filesystem::path(".");
    std::error_code ignored;
    if (folder.empty() || std::filesystem::is_directory(folder, ignored))
        return true;
    return !std::filesystem::exists(folder, ignored) && std::filesystem::is_directory(above, ignored);
}

void prepareFilePath(const std::string& path)
{
    checkFileName(path);
    if (makeFolder(path) != 0)
        throw FileOpenError(path);
}

std::string programDirectory()
{
    return boost::dll::program_location().parent_path().string();
}

} // namespace logging
