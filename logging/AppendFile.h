#pragma once

#include "logging/CheckedFolder.h"
#include "logging/Descriptor.h"

#include <sys/stat.h>

#include <initializer_list>
#include <string>

namespace logging {

// A log or PIN file opened for appending through a CheckedFolder: in a folder that another user
// could write, or below one, they could remove or replace the file. A file that this open creates
// gets owner-only permissions, since it may receive generated PINs. An existing file is used only
// when it is a regular file of this user's that neither group nor others can write and that has
// no other name (a hard link elsewhere): anything else could hand the PINs to someone else, take
// forged lines, or block the run. Failures are handed back as the system error number of the call
// that failed, the folder's walk included; a refused file gives EPERM.
class AppendFile {
public:
    // Why an existing file was not opened.
    enum class Refusal { None, NotRegular, ForeignOwner, WritableByOthers, MoreThanOneName };

    // Opens the file that the path names in the folder that was walked to for that path.
    AppendFile(const CheckedFolder& folder, const std::string& path);
    // One descriptor, one close.
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    AppendFile(AppendFile&& other) noexcept = default;
    AppendFile& operator=(AppendFile&&) = delete;

    bool isOpen() const { return fd_.isOpen(); }
    // True when this open made the file; of two processes racing for a new file only one sees it.
    bool created() const { return wasCreated_; }
    Refusal refusal() const { return refusal_; }
    // The permission bits of an existing file that was opened; 0 otherwise.
    mode_t permissions() const { return permissions_; }

    // Writes the whole text and closes the file (some file systems report a lost write only at
    // close). 0, or the system error number of the first call that failed, the open included.
    int appendAndClose(const std::string& text);
    // Writes the pieces in order, each whole or not at all, and closes the file: a piece that
    // got only part of the way is cut off again, so that the file never ends in a cut row or
    // block, and the pieces after it are not written. The return is appendAndClose's.
    int appendAndClose(std::initializer_list<std::string> pieces);

private:
    int openExisting(int folder, const char* name);
    bool accepts(const struct stat& info);
    int append(const std::string& text);
    void takeBack(off_t start, off_t end) const;

    Descriptor fd_;
    bool wasCreated_ = false;
    int openErrno_ = 0;
    Refusal refusal_ = Refusal::None;
    mode_t permissions_ = 0;
};

// Opens the file for appending through the folder, raising what the folder raises for a refused
// folder or link, a missing folder or a name too long, UnsafeFileError for an existing file of
// another user's, one that others can write or one with a second name, and FileOpenError for one
// that is no regular file; each names the path as the walk does. A file that fails to open
// otherwise is handed back unopened: its appendAndClose gives the system error number.
AppendFile openUnlessRefused(const CheckedFolder& folder, const std::string& path);

// Opens the file for appending through a CheckedFolder walked with `missing`, as
// openUnlessRefused does, raising FileOpenError also when it cannot be opened or created.
AppendFile openFile(const std::string& path, CheckedFolder::Missing missing);

// Opens the file through the folder as openFile does; an existing file that group or others can
// read is used, with a warning on the standard error stream naming it and its mode.
AppendFile openFileAndWarn(const CheckedFolder& folder, const std::string& path);

// The getError code for a failed write or close with this system error number.
int writeErrorCode(int errorNumber);

} // namespace logging
