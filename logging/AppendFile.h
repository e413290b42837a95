#pragma once

#include <string>

namespace logging {

// A log or PIN file opened for appending. A file that this open creates gets owner-only
// permissions, since it may receive generated PINs; an existing file keeps its mode. Failures
// are handed back as the system error number of the call that failed.
class AppendFile {
public:
    explicit AppendFile(const std::string& path);
    ~AppendFile();
    // One descriptor, one close.
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    AppendFile(AppendFile&& other) noexcept;
    AppendFile& operator=(AppendFile&&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // True when this open made the file; of two processes racing for a new file only one sees it.
    bool created() const { return wasCreated_; }

    // Writes the whole text and closes the file (some file systems report a lost write only at
    // close). 0, or the system error number of the first call that failed, the open included.
    int appendAndClose(const std::string& text);

private:
    int append(const std::string& text);
    int close();

    int fd_ = -1;
    bool wasCreated_ = false;
    int openErrno_ = 0;
};

// Opens the file for appending, raising FileOpenError when it cannot be opened or created.
AppendFile openFile(const std::string& path);

// The getError code for a failed write or close with this system error number.
int writeErrorCode(int errorNumber);

} // namespace logging
