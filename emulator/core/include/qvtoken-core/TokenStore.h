#pragma once

#include "qvtoken-core/Errors.h"
#include "qvtoken-core/TokenState.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace qvtoken {

// One version of a token's file. Writers replace the file by rename, so every change gives a
// new stamp; a reader that keeps the stamp taken before its read knows when to read again.
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;

    bool operator==(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The directory of virtual tokens: one file `<serial>.json` per token, each guarded by
// `<serial>.lock`. Every change is a read-modify-write under the token's lock, written to a
// temporary file and renamed over the old one, so readers never see half a token and two
// processes never lose each other's changes.
class TokenStore {
public:
    // The directory named by QVTOKEN_STATE_DIR; when unset, $HOME/.qvtoken (or, without
    // HOME, /tmp/qvtoken-<uid>). Whichever it is, it must be this user's and writable by no one
    // else (UnsafeDirectoryError).
    static std::filesystem::path defaultDirectory();

    explicit TokenStore(std::filesystem::path directory = defaultDirectory());

    const std::filesystem::path& directory() const { return directory_; }

    // The serials of the tokens whose files are in the directory, in no particular order.
    // A missing directory holds none.
    std::vector<std::uint64_t> serials() const;
    // All tokens whose files load, ordered by slot id, then serial. A file that does not load
    // is handed with its error to `refused` (which may throw to stop) and left out, so one
    // damaged file never hides the others. A missing directory holds none.
    std::vector<TokenState> loadAll(const std::function<void(const StateError&)>& refused) const;
    // A consistent snapshot of one token; empty when there is no such token.
    std::optional<TokenState> load(std::uint64_t serial) const;

    // Writes a new token; TokenExistsError when its serial is taken. Creates the directory.
    void create(const TokenState& state);
    // Reads the token under its lock, applies `change` and writes the result back (only when
    // it differs), all under the lock. Returns the state as written. TokenNotFoundError when there is no such token.
    // When `change` throws, nothing is written and the exception passes through.
    TokenState modify(std::uint64_t serial, const std::function<void(TokenState&)>& change);
    // Deletes the token; TokenNotFoundError when there is none.
    void remove(std::uint64_t serial);

    std::filesystem::path stateFile(std::uint64_t serial) const;
    // The stamp of the token's file now; empty when there is no such file.
    std::optional<FileStamp> stamp(std::uint64_t serial) const;

private:
    std::filesystem::path lockFile(std::uint64_t serial) const;
    // Creates the directory (mode 0700) when missing, then checks it.
    void ensureDirectory() const;
    // False when the directory is missing; UnsafeDirectoryError when it is not a directory, not
    // owned by this user, or writable by group or others.
    bool checkDirectory() const;

    std::filesystem::path directory_;
};

} // namespace qvtoken
