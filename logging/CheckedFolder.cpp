#include "logging/CheckedFolder.h"

#include "cli/LoggerError.h"
#include "logging/LogFilePath.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace logging {

namespace {

// A folder is only walked through and written into, never listed: opened as a path, it needs
// search permission alone, as the lookup of a whole path does (a home folder may be 0711).
#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#endif

// The most links one walk follows, as many as a lookup of the whole path would.
constexpr int kMostLinks = 40;

// What stands in `ahead` for the root: no name is "/".
constexpr const char* kRoot = "/";

// Puts the names of the path's parts on `ahead`, the next one to walk last; an absolute path
// starts at the root.
void putAhead(const std::filesystem::path& path, std::vector<std::string>& ahead)
{
    std::vector<std::string> names;
    if (path.is_absolute())
        names.emplace_back(kRoot);
    for (const auto& part : path.relative_path()) {
        if (!part.empty())
            names.push_back(part.string());
    }
    ahead.insert(ahead.end(), names.rbegin(), names.rend());
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
    std::vector<std::string> ahead;
    const auto name = std::filesystem::path(filePath).filename();
    walk(folderOf(filePath), name, missing, ahead);
    // The file is made in the file's folder, or in the missing one made in the folder reached.
    if (folder_.isOpen() && !takesName(folder_.get(), name))
        reached_ = false;
    auto shown = path_;
    for (auto next = ahead.rbegin(); next != ahead.rend(); ++next)
        shown /= *next;
    if (name == "..")
        shown = shown.parent_path();
    else if (name != ".")
        shown /= name;
    filePath_ = shown.string();
}

// Walks the folder's path as written, from the root down and name by name: a link is read and its
// target walked in its place, from the root or from the folder that holds it, so that the folders
// that hold links are judged too; whoever may write one could point the link elsewhere. The
// folders reached are kept from the root down, so that a ".." goes back up the way the walk came.
void CheckedFolder::walk(std::filesystem::path folder, const std::filesystem::path& fileName, Missing missing,
                         std::vector<std::string>& ahead)
{
    if (folder.is_relative()) {
        std::error_code failure;
        folder = std::filesystem::current_path(failure) / folder;
        if (failure) {
            fail(failure.value());
            return;
        }
    }
    putAhead(folder.relative_path(), ahead);
    // How many names ahead the path itself wrote: they lie below those of the links' targets.
    auto written = ahead.size();
    int links = 0;
    path_ = kRoot;
    std::vector<Descriptor> route(1);
    if (const int failure = openFolder(AT_FDCWD, kRoot, route.back())) {
        fail(failure);
        return;
    }
    if (!admit(route.back(), path_.string()))
        return;
    while (!ahead.empty()) {
        const std::string name = ahead.back();
        const bool asWritten = ahead.size() == written;
        const auto take = [&] {
            ahead.pop_back();
            written -= asWritten ? 1 : 0;
        };
        if (name == "." || name == ".." || name == kRoot) {
            take();
            if (name == kRoot) {
                route.resize(1);
                path_ = kRoot;
            } else if (name == ".." && route.size() > 1) {
                route.pop_back();
                path_ = path_.parent_path();
            }
            continue;
        }
        const int at = route.back().get();
        Descriptor next;
        int failure = openFolder(at, name.c_str(), next);
        std::string target;
        if ((failure == ENOTDIR || failure == ELOOP) && readLink(at, name, target)) {
            if (++links > kMostLinks) {
                fail(ELOOP);
                return;
            }
            take();
            putAhead(target, ahead);
            continue;
        }
        if (refusal_ != Refusal::None)
            return;
        if (failure == ENOENT && asWritten && ahead.size() == 1) {
            if (missing == Missing::Leave) {
                folder_ = std::move(route.back());
                error_ = ENOENT;
                return;
            }
            // A folder made for a file it cannot take would be left behind empty.
            if (!takesName(at, fileName))
                return;
            // Made by someone else in between only if they may write here: this user or root.
            const bool made = ::mkdirat(at, name.c_str(), 0700) == 0 || errno == EEXIST;
            failure = made ? openFolder(at, name.c_str(), next) : errno;
        } else if (failure == ENOENT) {
            missingPath_ = (path_ / name).string();
        }
        if (failure != 0) {
            fail(failure);
            return;
        }
        take();
        path_ /= name;
        if (!admit(next, path_.string()))
            return;
        route.push_back(std::move(next));
    }
    folder_ = std::move(route.back());
    reached_ = true;
}

// Reads the target of the link of that name in the folder `at`; false when the name is no link.
// A link that another user than this process's effective one or root owns is refused where the
// folder holding it may be written by others than its owner: it was admitted, so it has the
// sticky bit, which lets the link's owner replace it. Elsewhere only this user or root can.
bool CheckedFolder::readLink(int at, const std::string& name, std::string& target)
{
    struct stat info {};
    struct stat holder {};
    char text[PATH_MAX];
    if (::fstatat(at, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(info.st_mode))
        return false;
    const auto length = ::readlinkat(at, name.c_str(), text, sizeof text);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof text)
        return false;
    if (info.st_uid != ::geteuid() && info.st_uid != 0 &&
        (::fstat(at, &holder) != 0 || (holder.st_mode & (S_IWGRP | S_IWOTH)) != 0)) {
        refuse(Refusal::ForeignLink, (path_ / name).string());
        return false;
    }
    target.assign(text, static_cast<std::size_t>(length));
    return true;
}

// Another user than this process's effective one or root could remove or replace what the folder
// holds: its owner, also when only they may write it, or its group or others without the sticky
// bit.
bool CheckedFolder::admit(const Descriptor& folder, const std::string& path)
{
    struct stat info {};
    if (::fstat(folder.get(), &info) != 0) {
        fail(errno);
        return false;
    }
    if (info.st_uid != ::geteuid() && info.st_uid != 0)
        refuse(Refusal::ForeignOwner, path);
    else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)
        refuse(Refusal::WritableByOthers, path);
    return refusal_ == Refusal::None;
}

bool CheckedFolder::takesName(int folder, const std::filesystem::path& name)
{
    const long longest = ::fpathconf(folder, _PC_NAME_MAX);
    if (longest <= 0 || name.native().size() <= static_cast<std::size_t>(longest))
        return true;
    fail(ENAMETOOLONG);
    return false;
}

void CheckedFolder::refuse(Refusal refusal, const std::string& path)
{
    refusal_ = refusal;
    refusedPath_ = path;
    fail(EPERM);
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
    if (refusal_ == Refusal::ForeignLink)
        throw ForeignLinkError(refusedPath_);
    if (!missingPath_.empty())
        throw FolderNotFoundError(missingPath_);
    if (error_ == ENAMETOOLONG)
        throw NameTooLongError(filePath_);
}

bool CheckedFolder::holdsFile(const std::string& path) const
{
    struct stat info {};
    return descriptor() >= 0 &&
           (::fstatat(descriptor(), std::filesystem::path(path).filename().c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 ||
            errno != ENOENT);
}

bool CheckedFolder::canTakeFile() const
{
    return folder_.isOpen() && ::faccessat(folder_.get(), ".", W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace logging
