#include "logging/AppendFile.h"

#include "cli/LoggerError.h"
#include "logging/BaseLogger.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace logging {

AppendFile::AppendFile(const std::string& path)
{
    constexpr int kFlags = O_WRONLY | O_APPEND | O_CLOEXEC;
    // The exclusive creation tells whether this open made the file; when another process made
    // it first, append to theirs. A file removed in between gets one more try at creating it.
    for (int attempt = 0; attempt < 2 && fd_ < 0; ++attempt) {
        fd_ = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0600);
        if (fd_ >= 0) {
            wasCreated_ = true;
            break;
        }
        if (errno != EEXIST)
            break;
        fd_ = ::open(path.c_str(), kFlags);
        if (fd_ < 0 && errno != ENOENT)
            break;
    }
    if (fd_ < 0)
        openErrno_ = errno;
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), wasCreated_(other.wasCreated_), openErrno_(other.openErrno_)
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
    if (!file.isOpen())
        throw FileOpenError(path);
    return file;
}

int writeErrorCode(int errorNumber)
{
    return errorNumber == ENOSPC ? NoSpaceWriteError : OtherWriteError;
}

} // namespace logging
