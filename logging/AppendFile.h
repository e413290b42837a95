#pragma once

#include <string>

namespace logging {

// A log or PIN file opened for appending. A file that this open creates gets owner-only
// permissions, since it may receive generated PINs; an existing file keeps its mode. Every
// failure hands back the system error number of the call that failed.
class AppendFile {
public:
    explicit AppendFile(const std::string& path);
    ~AppendFile();
    // One descriptor, one close.
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool isOpen() const { return fd >= 0; }
    // True when this open made the file; two processes racing for a new file cannot both see it.
    bool created() const { return wasCreated; }
    int openError() const { return openErrno; }

    // Writes the whole text; 0, or the system error number of the failed write.
    int append(const std::string& text);
    // 0, or the system error number of the failed close (some file systems report a lost
    // write only here).
    int close();

private:
    int fd = -1;
    bool wasCreated = false;
    int openErrno = 0;
};

// The getError code for a failed write or close with this system error number.
int writeErrorCode(int errorNumber);

}  // namespace logging
