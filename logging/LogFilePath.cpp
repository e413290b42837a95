#include "logging/LogFilePath.h"

#include "cli/CliError.h"
#include "cli/LoggerError.h"

#include <boost/dll/runtime_symbol_info.hpp>

#include <sys/stat.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

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

namespace {

// Asked of the kernel with the effective ids, as the open will be: permission bits do not stop
// root, a read-only mount does.
bool canWriteInto(const std::filesystem::path& folder)
{
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

std::filesystem::path folderOf(const std::string& path)
{
    const auto folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// Followed through links: the folder that receives the file counts.
bool folderIsSafe(const std::filesystem::path& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return true;
    const bool foreignOwner = info.st_uid != ::geteuid() && info.st_uid != 0;
    const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0;
    return !foreignOwner && !othersWrite;
}

bool fileCanBeMade(const std::string& path)
{
    const auto folder = folderOf(path);
    std::error_code ignored;
    if (std::filesystem::is_directory(folder, ignored))
        return canWriteInto(folder);
    const auto above = folder.has_parent_path() ? folder.parent_path() : std::filesystem::path(".");
    return !std::filesystem::exists(folder, ignored) && std::filesystem::is_directory(above, ignored) &&
           canWriteInto(above);
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
