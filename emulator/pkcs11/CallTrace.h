#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <string>

namespace qvstandin {

// One line per entry call, appended to the file named by QVSTANDIN_TRACE: the entry, its slot
// or session and main arguments (PIN lengths, never PIN bytes) and the returned value. Lines
// are appended whole, so several processes may share one trace file.
class CallTrace {
public:
    CallTrace() = default;
    ~CallTrace();
    // Owns a descriptor.
    CallTrace(const CallTrace&) = delete;
    CallTrace& operator=(const CallTrace&) = delete;

    // Follows QVSTANDIN_TRACE as it is now; unset or empty switches the trace off.
    void reopen();
    void close();
    void record(const char* entry, const std::string& arguments, CK_RV rv) const;

private:
    int fd_ = -1;
};

} // namespace qvstandin
