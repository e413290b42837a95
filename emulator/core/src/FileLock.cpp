#include "qvtoken-core/FileLock.h"

#include "qvtoken-core/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qvtoken {

FileLock::FileLock(const std::filesystem::path& lockFile)
    // A link planted in the lock file's place is not followed.
    : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
{
    if (fd_ < 0)
        throw StateIoError(lockFile.string());
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd_);
        throw StateIoError(lockFile.string());
    }
}

FileLock::~FileLock()
{
    // Closing the descriptor releases the flock.
    ::close(fd_);
}

} // namespace qvtoken
