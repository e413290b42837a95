#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <cstddef>
#include <map>
#include <vector>

namespace qvstandin {

enum class Login { none, admin, user };

struct Session {
    CK_SLOT_ID slot = 0;
    CK_FLAGS flags = 0;
    bool searching = false;
    std::vector<CK_OBJECT_HANDLE> found;
    std::size_t next = 0;
};

// Open sessions and the login of each token. A login belongs to the token, shared by all its
// sessions, and ends with the token's last session.
class SessionTable {
public:
    CK_SESSION_HANDLE open(CK_SLOT_ID slot, CK_FLAGS flags);
    Session* find(CK_SESSION_HANDLE handle);
    void close(CK_SESSION_HANDLE handle);
    void clear();

    std::size_t countOn(CK_SLOT_ID slot, CK_FLAGS requiredFlags = 0) const;

    Login login(CK_SLOT_ID slot) const;
    void setLogin(CK_SLOT_ID slot, Login login);

private:
    std::map<CK_SESSION_HANDLE, Session> sessions_;
    std::map<CK_SLOT_ID, Login> logins_;
    // Handles are never reused within a process and never 0, which callers take as "none".
    CK_SESSION_HANDLE nextHandle_ = 1;
};

} // namespace qvstandin
