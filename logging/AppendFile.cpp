#include "logging/AppendFile.h"

#include "cli/LoggerError.h"
#include "cli/controlCharacters.h"
#include "logging/BaseLogger.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <iomanip>
#include <iostream>
#include <sstream>
#include <utility>

namespace logging {

namespace {

constexpr int kFlags = O_WRONLY | O_APPEND | O_CLOEXEC;

} // namespace

AppendFile::AppendFile(const std::string& path)
{
    // The exclusive creation tells whether this open made the file, and follows no link; when
    // another process made it first, append to theirs. A file removed in between gets one more
    // try at creating it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        fd_ = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0600);
        if (fd_ >= 0) {
            wasCreated_ = true;
            return;
        }
        openErrno_ = errno == EEXIST ? openExisting(path) : errno;
        if (openErrno_ != ENOENT)
            return;
    }
}

// A FIFO or a device is refused before it is opened, since the open itself could block or act;
// a final symbolic link is not followed; what was opened is checked again, in case another file
// was put in its place in between (the open does not block on a FIFO put there).
int AppendFile::openExisting(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno;
    if (!accepts(info))
        return EPERM;
    fd_ = ::open(path.c_str(), kFlags | O_NOFOLLOW | O_NONBLOCK);
    if (fd_ < 0)
        return errno;
    if (::fstat(fd_, &info) != 0 || !accepts(info)) {
        close();
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
    else if ((info.st_mode & S_IWOTH) != 0)
        refusal_ = Refusal::WritableByOthers;
    return refusal_ == Refusal::None;
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), wasCreated_(other.wasCreated_), openErrno_(other.openErrno_),
      refusal_(other.refusal_), permissions_(other.permissions_)
{
}

AppendFile::~AppendFile()
{
    close();
}

int AppendFile::appendAndClose(const std::string& text)
{
    const int failure = append(text);
    const int closeFailure = close();
    return failure != 0 ? failure : closeFailure;
}

int AppendFile::append(const std::string& text)
{
    if (fd_ < 0)
        return openErrno_;
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const auto written = ::write(fd_, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

int AppendFile::close()
{
    if (fd_ < 0)
        return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

AppendFile openFile(const std::string& path)
{
    AppendFile file(path);
    switch (file.refusal()) {
    case AppendFile::Refusal::ForeignOwner:
        throw UnsafeFileError("owned by another user", path);
    case AppendFile::Refusal::WritableByOthers:
        throw UnsafeFileError("writable by other users", path);
    default:
        break;
    }
    if (!file.isOpen())
        throw FileOpenError(path);
    return file;
}

AppendFile openFileAndWarn(const std::string& path)
{
    auto file = openFile(path);
    if ((file.permissions() & (S_IRGRP | S_IROTH)) != 0) {
        std::ostringstream warning;
        warning << "Warning: " << escapeControlCharacters(path) << " can be read by other users (mode " << std::oct
                << std::setw(4) << std::setfill('0') << file.permissions() << ").\n";
        std::cerr << warning.str() << std::flush;
    }
    return file;
}

int writeErrorCode(int errorNumber)
{
    return errorNumber == ENOSPC ? NoSpaceWriteError : OtherWriteError;
}

} // namespace logging
