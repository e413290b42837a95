#pragma once

#include <filesystem>

namespace qvtoken {

// An exclusive flock on a lock file for the scope of the object. The lock file sits next to
// the state file and is never renamed, so it keeps guarding the token across atomic
// replacements of the state file itself.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    // A lock owns its descriptor; a copy would unlock twice.
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

} // namespace qvtoken
