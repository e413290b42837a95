#include "qvtoken-core/TokenStore.h"

#include "qvtoken-core/Errors.h"
#include "qvtoken-core/FileLock.h"
#include "qvtoken-core/TokenStateCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace qvtoken {

namespace fs = std::filesystem;

namespace {

const char* const stateSuffix = ".json";

std::optional<TokenState> readIfPresent(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (!fs::exists(file))
            return std::nullopt;
        throw StateIoError(file.string());
    }
    return readTokenState(in, file.string());
}

std::string textOf(const TokenState& state)
{
    std::ostringstream text;
    writeTokenState(text, state);
    return text.str();
}

// Writes next to the target and renames over it, after flushing to disk: a crash leaves
// either the old file or the new one, never a mix.
void writeAtomically(const fs::path& file, const std::string& data)
{
    // A fresh name created exclusively with mode 0600: nothing planted in its place is followed
    // or overwritten.
    std::string temporary = file.string() + ".tmp.XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        throw StateIoError(file.string() + ".tmp");
    std::size_t written = 0;
    bool ok = true;
    while (ok && written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            written += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw StateIoError(file.string());
    }
}

} // namespace

fs::path TokenStore::defaultDirectory()
{
    if (const char* dir = std::getenv("QVTOKEN_STATE_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return fs::path(home) / ".qvtoken";
    return fs::path("/tmp") / ("qvtoken-" + std::to_string(::getuid()));
}

TokenStore::TokenStore(fs::path directory) : directory_(std::move(directory)) {}

fs::path TokenStore::stateFile(std::uint64_t serial) const
{
    return directory_ / (std::to_string(serial) + stateSuffix);
}

std::optional<FileStamp> TokenStore::stamp(std::uint64_t serial) const
{
    struct stat status {};
    if (::stat(stateFile(serial).c_str(), &status) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw StateIoError(stateFile(serial).string());
    }
    return FileStamp{status.st_dev, status.st_ino, status.st_size,
                     static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec};
}

fs::path TokenStore::lockFile(std::uint64_t serial) const
{
    return directory_ / (std::to_string(serial) + ".lock");
}

void TokenStore::ensureDirectory() const
{
    std::error_code error;
    if (!fs::exists(directory_, error)) {
        if (directory_.has_parent_path())
            fs::create_directories(directory_.parent_path(), error);
        if (::mkdir(directory_.c_str(), 0700) != 0 && errno != EEXIST)
            throw StateIoError(directory_.string());
    }
    checkDirectory();
}

bool TokenStore::checkDirectory() const
{
    struct stat status {};
    if (::stat(directory_.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return false;
        throw StateIoError(directory_.string());
    }
    if (!S_ISDIR(status.st_mode))
        throw UnsafeDirectoryError(directory_.string(), "is not a directory");
    if (status.st_uid != ::geteuid())
        throw UnsafeDirectoryError(directory_.string(), "is owned by user " + std::to_string(status.st_uid) +
                                                            ", not by this user (" + std::to_string(::geteuid()) + ")");
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throw UnsafeDirectoryError(directory_.string(), "is writable by group or others");
    return true;
}

std::vector<std::uint64_t> TokenStore::serials() const
{
    std::vector<std::uint64_t> serials;
    std::error_code error;
    if (!checkDirectory())
        return serials;
    for (const auto& item : fs::directory_iterator(directory_, error)) {
        const fs::path& file = item.path();
        const std::string stem = file.stem().string();
        if (stem.empty() || stem.find_first_not_of("0123456789") != std::string::npos)
            continue;
        try {
            const std::uint64_t serial = std::stoull(stem);
            // Only the token's own file name counts: "007.json" is not token 7's file.
            if (file == stateFile(serial))
                serials.push_back(serial);
        } catch (const std::out_of_range&) {
        }
    }
    if (error)
        throw StateIoError(directory_.string());
    return serials;
}

std::vector<TokenState> TokenStore::loadAll(const std::function<void(const StateError&)>& refused) const
{
    std::vector<TokenState> tokens;
    for (std::uint64_t serial : serials()) {
        try {
            if (auto token = load(serial))
                tokens.push_back(std::move(*token));
        } catch (const StateError& error) {
            refused(error);
        }
    }
    std::sort(tokens.begin(), tokens.end(), [](const TokenState& a, const TokenState& b) {
        return a.slotId != b.slotId ? a.slotId < b.slotId : a.serial < b.serial;
    });
    return tokens;
}

std::optional<TokenState> TokenStore::load(std::uint64_t serial) const
{
    // Writers replace the file by rename, so an unlocked read already sees one whole version;
    // the lock is not needed for a snapshot. A missing directory means no token.
    if (!checkDirectory())
        return std::nullopt;
    auto token = readIfPresent(stateFile(serial));
    if (token && token->serial != serial)
        throw StateFormatError(stateFile(serial).string() + ": serial differs from file name");
    return token;
}

void TokenStore::create(const TokenState& state)
{
    ensureDirectory();
    FileLock lock(lockFile(state.serial));
    if (fs::exists(stateFile(state.serial)))
        throw TokenExistsError(std::to_string(state.serial));
    writeAtomically(stateFile(state.serial), textOf(state));
}

TokenState TokenStore::modify(std::uint64_t serial, const std::function<void(TokenState&)>& change)
{
    if (!checkDirectory() || !fs::exists(stateFile(serial)))
        throw TokenNotFoundError(std::to_string(serial));
    FileLock lock(lockFile(serial));
    auto token = load(serial);
    if (!token)
        throw TokenNotFoundError(std::to_string(serial));
    const std::string before = textOf(*token);
    change(*token);
    token->serial = serial;
    // Many changes turn out to change nothing (a read through the card, a refused request);
    // they cost no write.
    const std::string after = textOf(*token);
    if (after != before)
        writeAtomically(stateFile(serial), after);
    return std::move(*token);
}

void TokenStore::remove(std::uint64_t serial)
{
    if (!checkDirectory() || !fs::exists(stateFile(serial)))
        throw TokenNotFoundError(std::to_string(serial));
    FileLock lock(lockFile(serial));
    std::error_code error;
    if (!fs::remove(stateFile(serial), error)) {
        if (error)
            throw StateIoError(stateFile(serial).string());
        throw TokenNotFoundError(std::to_string(serial));
    }
    // The lock file stays: a process already waiting on it must not end up holding a lock
    // that a token created later under the same serial no longer uses.
}

} // namespace qvtoken
