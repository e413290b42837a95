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
    constexpr int flags = O_WRONLY | O_APPEND | O_CLOEXEC;
    // The exclusive creation tells whether this open made the file; when another process made
    // it first, append to theirs. A file removed in between gets one more try at creating it.
    for (int attempt = 0; attempt < 2 && fd < 0; ++attempt) {
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            wasCreated = true;
            break;
        }
        if (errno != EEXIST)
            break;
        fd = ::open(path.c_str(), flags);
        if (fd < 0 && errno != ENOENT)
            break;
    }
    if (fd < 0)
        openErrno = errno;
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : fd(std::exchange(other.fd, -1)), wasCreated(other.wasCreated), openErrno(other.openErrno)
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
    if (fd < 0)
        return openErrno;
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const auto written = ::write(fd, data, left);
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
    if (fd < 0)
        return 0;
    const int result = ::close(fd);
    fd = -1;
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
    return errorNumber == ENOSPC ? kNoSpaceWriteError : kOtherWriteError;
}

} // namespace logging
