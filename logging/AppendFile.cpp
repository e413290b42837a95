#include "logging/AppendFile.h"

#include "cli/LoggerError.h"
#include "cli/controlCharacters.h"
#include "logging/BaseLogger.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace logging {

namespace {

constexpr int kFlags = O_WRONLY | O_APPEND | O_CLOEXEC;

// Opens the file through the folder as openFile does, naming the path as the folder does.
AppendFile openThrough(const CheckedFolder& folder, const std::string& path)
{
    auto file = openUnlessRefused(folder, path);
    if (!file.isOpen())
        throw FileOpenError(folder.filePath());
    return file;
}

} // namespace

AppendFile::AppendFile(const CheckedFolder& folder, const std::string& path)
{
    const int at = folder.descriptor();
    if (at < 0) {
        openErrno_ = folder.error();
        return;
    }
    const auto name = std::filesystem::path(path).filename();
    // The exclusive creation tells whether this open made the file, and follows no link; when
    // another process made it first, append to theirs. A file removed in between gets one more
    // try at creating it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        fd_ = Descriptor(::openat(at, name.c_str(), kFlags | O_CREAT | O_EXCL, 0600));
        if (fd_.isOpen()) {
            wasCreated_ = true;
            return;
        }
        openErrno_ = errno == EEXIST ? openExisting(at, name.c_str()) : errno;
        if (openErrno_ != ENOENT)
            return;
    }
}

// A FIFO or a device is refused before it is opened, since the open itself could block or act;
// a final symbolic link is not followed; what was opened is checked again, in case another file
// was put in its place in between (the open does not block on a FIFO put there).
int AppendFile::openExisting(int folder, const char* name)
{
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!accepts(info))
        return EPERM;
    fd_ = Descriptor(::openat(folder, name, kFlags | O_NOFOLLOW | O_NONBLOCK));
    if (!fd_.isOpen())
        return errno;
    if (::fstat(fd_.get(), &info) != 0 || !accepts(info)) {
        fd_.close();
        return EPERM;
    }
    permissions_ = info.st_mode & 07777;
    return 0;
}

bool AppendFile::accepts(const struct stat& info)
{
    if (!S_ISREG(info.st_mode))
        refusal_ = Refusal::NotRegular;
    else if (info.st_uid != ::geteuid())
        refusal_ = Refusal::ForeignOwner;
    else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        refusal_ = Refusal::WritableByOthers;
    else if (info.st_nlink > 1)
        refusal_ = Refusal::MoreThanOneName;
    return refusal_ == Refusal::None;
}

int AppendFile::appendAndClose(const std::string& text)
{
    return appendAndClose({text});
}

int AppendFile::appendAndClose(std::initializer_list<std::string> pieces)
{
    int failure = 0;
    for (const auto& piece : pieces) {
        failure = append(piece);
        if (failure != 0)
            break;
    }
    const int closeFailure = fd_.close();
    return failure != 0 ? failure : closeFailure;
}

// Each write lands at the file's end of that moment, and the offset after it tells where. The
// text's bytes are the file's tail only while each write followed the one before.
int AppendFile::append(const std::string& text)
{
    if (!fd_.isOpen())
        return openErrno_;
    const char* data = text.data();
    std::size_t left = text.size();
    off_t start = -1;
    off_t end = -1;
    bool oneRun = true;
    while (left > 0) {
        const auto written = ::write(fd_.get(), data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const int failure = errno;
            if (oneRun)
                takeBack(start, end);
            return failure;
        }
        const off_t after = ::lseek(fd_.get(), 0, SEEK_CUR);
        oneRun = oneRun && after >= written && (start < 0 || after - written == end);
        if (start < 0)
            start = after - written;
        end = after;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Cuts the part of a text that got written, when it is still the file's tail; a file that grew
// past it in between (another process appended) is left as it is rather than lose their lines.
void AppendFile::takeBack(off_t start, off_t end) const
{
    struct stat info {};
    if (start >= 0 && ::fstat(fd_.get(), &info) == 0 && info.st_size == end)
        static_cast<void>(::ftruncate(fd_.get(), start));
}

AppendFile openUnlessRefused(const CheckedFolder& folder, const std::string& path)
{
    folder.raiseRefusal();
    AppendFile file(folder, path);
    switch (file.refusal()) {
    case AppendFile::Refusal::NotRegular:
        throw FileOpenError(folder.filePath());
    case AppendFile::Refusal::ForeignOwner:
        throw UnsafeFileError("owned by another user", folder.filePath());
    case AppendFile::Refusal::WritableByOthers:
        throw UnsafeFileError("writable by other users", folder.filePath());
    case AppendFile::Refusal::MoreThanOneName:
        throw UnsafeFileError("linked under more than one name", folder.filePath());
    case AppendFile::Refusal::None:
        break;
    }
    return file;
}

AppendFile openFile(const std::string& path, CheckedFolder::Missing missing)
{
    return openThrough(CheckedFolder(path, missing), path);
}

AppendFile openFileAndWarn(const CheckedFolder& folder, const std::string& path)
{
    auto file = openThrough(folder, path);
    if ((file.permissions() & (S_IRGRP | S_IROTH)) != 0) {
        std::ostringstream warning;
        warning << "Warning: " << escapeControlCharacters(folder.filePath()) << " can be read by other users (mode "
                << std::oct << std::setw(4) << std::setfill('0') << file.permissions() << ").\n";
        std::cerr << warning.str() << std::flush;
    }
    return file;
}

int writeErrorCode(int errorNumber)
{
    return errorNumber == ENOSPC ? NoSpaceWriteError : OtherWriteError;
}

} // namespace logging
