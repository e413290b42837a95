#pragma once

#include "pkcs11/AttributeValues.h"
#include "pkcs11/Object.h"
#include "pkcs11/Pkcs11Interface.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvik::pkcs11 {

namespace detail {
class Wrapper;
}
class Template;

// One open session on a token's slot, closed when the object dies; closing the token's last
// session also ends its login.
class Session {
public:
    using Flags = CK_FLAGS;

    Session(const detail::Wrapper& wrapper, CK_SLOT_ID slot, Flags flags);
    ~Session();
    // A moved-from session holds no handle, so the module session is closed exactly once.
    Session(Session&& other) noexcept;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    Session& operator=(Session&&) = delete;

    void login(std::string_view pin, UserType userType) const;
    void logout() const;
    // Changes the PIN of the user logged in on this session.
    void setPIN(std::string_view newPin) const;
    // Sets the user PIN from a security officer's session.
    void initPIN(std::string_view pin) const;
    void unblockUserPinEx() const;
    void setLabelEx(std::string_view label) const;
    std::string getLabelEx() const;
    // The token will demand a change of that user's PIN.
    void forceChangePin(UserType userType) const;

    std::vector<Object> findObjects(Template& criteria) const;

private:
    const detail::Wrapper& wrapper_;
    CK_SESSION_HANDLE handle_ = 0;
};

} // namespace quorvik::pkcs11
