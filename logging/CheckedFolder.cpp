#include "logging/CheckedFolder.h"

#include "cli/LoggerError.h"
#include "logging/LogFilePath.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace logging {

namespace {

// A folder is only walked through and written into, never listed: opened as a path, it needs
// search permission alone, as the lookup of a whole path does (a home folder may be 0711).
#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#endif

// The names of the folders from the root down to the given one: those of the existing part of
// its path with every link resolved, then those of the missing rest as written. 0, or the system
// error number; a "." or ".." below a missing folder leads nowhere, as in a lookup.
int routeTo(const std::filesystem::path& folder, std::vector<std::string>& names)
{
    std::vector<std::string> parts;
    for (const auto& part : folder.relative_path()) {
        if (!part.empty())
            parts.push_back(part.string());
    }
    const auto base = folder.is_absolute() ? folder.root_path() : std::filesystem::path(".");
    for (auto existing = parts.size();; --existing) {
        auto candidate = base;
        for (std::size_t i = 0; i < existing; ++i)
            candidate /= parts[i];
        char resolved[PATH_MAX];
        if (::realpath(candidate.c_str(), resolved) != nullptr) {
            for (const auto& part : std::filesystem::path(resolved).relative_path())
                names.push_back(part.string());
            for (auto i = existing; i < parts.size(); ++i) {
                if (parts[i] == "." || parts[i] == "..")
                    return ENOENT;
                names.push_back(parts[i]);
            }
            return 0;
        }
        if (errno != ENOENT || existing == 0)
            return errno;
    }
}

// Opens the folder of that name in the folder `at` into `folder`. 0, or the system error number.
int openFolder(int at, const char* name, Descriptor& folder)
{
    folder = Descriptor(::openat(at, name, kFolderFlags));
    return folder.isOpen() ? 0 : errno;
}

} // namespace

CheckedFolder::CheckedFolder(const std::string& filePath, Missing missing)
{
    std::vector<std::string> names;
    std::filesystem::path path("/");
    int failure = routeTo(folderOf(filePath), names);
    if (failure == 0)
        failure = openFolder(AT_FDCWD, path.c_str(), folder_);
    if (failure != 0) {
        fail(failure);
        return;
    }
    if (!admit(path.string()))
        return;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const char* name = names[i].c_str();
        Descriptor next;
        failure = openFolder(folder_.get(), name, next);
        if (failure == ENOENT && i + 1 == names.size()) {
            if (missing == Missing::Leave) {
                error_ = ENOENT;
                return;
            }
            // Made by someone else in between only if they may write here: this user or root.
            const bool made = ::mkdirat(folder_.get(), name, 0700) == 0 || errno == EEXIST;
            failure = made ? openFolder(folder_.get(), name, next) : errno;
        }
        if (failure != 0) {
            fail(failure);
            return;
        }
        folder_ = std::move(next);
        path /= names[i];
        if (!admit(path.string()))
            return;
    }
    reached_ = true;
}

// Another user than this process's effective one or root could remove or replace what the folder
// holds: its owner, also when only they may write it, or its group or others without the sticky
// bit.
bool CheckedFolder::admit(const std::string& path)
{
    struct stat info {};
    if (::fstat(folder_.get(), &info) != 0) {
        fail(errno);
        return false;
    }
    if (info.st_uid != ::geteuid() && info.st_uid != 0)
        refusal_ = Refusal::ForeignOwner;
    else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)
        refusal_ = Refusal::WritableByOthers;
    if (refusal_ == Refusal::None)
        return true;
    refusedPath_ = path;
    fail(EPERM);
    return false;
}

void CheckedFolder::fail(int errorNumber)
{
    error_ = errorNumber;
    folder_.close();
}

void CheckedFolder::raiseRefusal() const
{
    if (refusal_ == Refusal::ForeignOwner)
        throw ForeignFolderError(refusedPath_);
    if (refusal_ == Refusal::WritableByOthers)
        throw UnsafeFolderError(refusedPath_);
}

bool CheckedFolder::canTakeFile() const
{
    return folder_.isOpen() && ::faccessat(folder_.get(), ".", W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace logging
