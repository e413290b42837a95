#include "Entries.h"
#include "Module.h"
#include "PinRules.h"

namespace qvstandin::entries {

namespace {

Module& module()
{
    return Module::instance();
}

CK_RV changeOwnPin(CallContext& call, Login login, CK_UTF8CHAR_PTR newPin, CK_ULONG newLength)
{
    return call.change([&](qvtoken::TokenState& token) {
        return login == Login::admin ? setAdminPin(token, newPin, newLength)
                                     : setUserPin(token, QV_TOKEN_FLAG_USER_CHANGES_USER_PIN, newPin, newLength);
    });
}

} // namespace

CK_RV openSession(CK_SLOT_ID slot, CK_FLAGS flags, CK_VOID_PTR /*application*/, CK_NOTIFY /*notify*/,
                  CK_SESSION_HANDLE_PTR handle)
{
    return module().onSlot("C_OpenSession", slot, {{"slot", slot}, {"flags", flags}}, [&](CallContext& call) -> CK_RV {
        if (handle == nullptr)
            return CKR_ARGUMENTS_BAD;
        if ((flags & CKF_SERIAL_SESSION) == 0)
            return CKR_SESSION_PARALLEL_NOT_SUPPORTED;
        call.token();
        *handle = call.sessions().open(slot, flags);
        return CKR_OK;
    });
}

CK_RV closeSession(CK_SESSION_HANDLE handle)
{
    return module().onSession("C_CloseSession", handle, {{"session", handle}}, [&](CallContext& call) -> CK_RV {
        call.sessions().close(handle);
        return CKR_OK;
    });
}

CK_RV login(CK_SESSION_HANDLE handle, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pin, CK_ULONG length)
{
    return module().onSession(
        "C_Login", handle, {{"session", handle}, {"userType", userType}, {"pinLength", length}},
        [&](CallContext& call) -> CK_RV {
            if (userType != CKU_SO && userType != CKU_USER)
                return CKR_USER_TYPE_INVALID;
            const Login wanted = userType == CKU_SO ? Login::admin : Login::user;
            const Login current = call.sessions().login(call.slot());
            if (current == wanted)
                return CKR_USER_ALREADY_LOGGED_IN;
            if (current != Login::none)
                return CKR_USER_ANOTHER_ALREADY_LOGGED_IN;
            // The admin logs in only while every session of the token may write.
            if (wanted == Login::admin &&
                call.sessions().countOn(call.slot()) != call.sessions().countOn(call.slot(), CKF_RW_SESSION))
                return CKR_SESSION_READ_ONLY_EXISTS;
            const CK_RV rv = call.change([&](qvtoken::TokenState& token) {
                return authenticate(wanted == Login::admin ? token.adminPin : token.userPin, pin, length);
            });
            if (rv == CKR_OK)
                call.sessions().setLogin(call.slot(), wanted);
            return rv;
        });
}

CK_RV logout(CK_SESSION_HANDLE handle)
{
    return module().onSession("C_Logout", handle, {{"session", handle}}, [&](CallContext& call) -> CK_RV {
        if (call.sessions().login(call.slot()) == Login::none)
            return CKR_USER_NOT_LOGGED_IN;
        call.sessions().setLogin(call.slot(), Login::none);
        return CKR_OK;
    });
}

CK_RV setPin(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR oldPin, CK_ULONG oldLength, CK_UTF8CHAR_PTR newPin,
             CK_ULONG newLength)
{
    return module().onWriteSession(
        "C_SetPIN", handle, {{"session", handle}, {"oldPinLength", oldLength}, {"newPinLength", newLength}},
        [&](CallContext& call) -> CK_RV {
            const Login login = call.sessions().login(call.slot());
            if (login == Login::none)
                return CKR_USER_NOT_LOGGED_IN;
            if (oldPin != nullptr) {
                const CK_RV rv = call.change([&](qvtoken::TokenState& token) {
                    return authenticate(login == Login::admin ? token.adminPin : token.userPin, oldPin, oldLength);
                });
                if (rv != CKR_OK)
                    return rv;
            }
            return changeOwnPin(call, login, newPin, newLength);
        });
}

CK_RV initPin(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR pin, CK_ULONG length)
{
    return module().onWriteSession("C_InitPIN", handle, {{"session", handle}, {"pinLength", length}},
                                   [&](CallContext& call) -> CK_RV {
                                       if (call.sessions().login(call.slot()) != Login::admin)
                                           return CKR_USER_NOT_LOGGED_IN;
                                       return call.change([&](qvtoken::TokenState& token) {
                                           return setUserPin(token, QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN, pin, length);
                                       });
                                   });
}

} // namespace qvstandin::entries
