#include "Entries.h"
#include "FormatRules.h"
#include "ListAnswer.h"
#include "LocalPinRules.h"
#include "Module.h"
#include "PinRules.h"
#include "TokenRecords.h"
#include "VolumeRules.h"

#include <qvtoken-core/SectionOwners.h>

#include <algorithm>
#include <cstring>

namespace qvstandin::entries {

namespace {

constexpr CK_ULONG minimalInfoSize = 216;
constexpr CK_ULONG maxLabelLength = 32;

Module& module()
{
    return Module::instance();
}

Login loginOf(CallContext& call)
{
    return call.sessions().login(call.slot());
}

// A forced PIN change, when the token enforces it, refuses user operations until the change.
bool userPinExpired(CallContext& call)
{
    const auto token = call.token();
    return loginOf(call) == Login::user && token.userPinToBeChanged && token.switches.enforcePinExpired;
}

} // namespace

CK_RV initToken(CK_SLOT_ID slot, CK_UTF8CHAR_PTR adminPin, CK_ULONG length, CK_QUORVIK_INIT_PARAM* params)
{
    return module().onSlot("C_EX_InitToken", slot,
                           {{"slot", slot}, {"pinLength", length}, {"repair", params != nullptr ? params->repair : 0}},
                           [&](CallContext& call) -> CK_RV {
                               call.token();
                               if (params == nullptr)
                                   return CKR_ARGUMENTS_BAD;
                               if (call.sessions().countOn(slot) != 0)
                                   return CKR_SESSION_EXISTS;
                               return call.change([&](qvtoken::TokenState& token) {
                                   return qvstandin::initToken(token, adminPin, length, *params);
                               });
                           });
}

CK_RV getTokenInfoExtended(CK_SLOT_ID slot, CK_TOKEN_INFO_EXTENDED* info)
{
    return module().onSlot("C_EX_GetTokenInfoExtended", slot, {{"slot", slot}}, [&](CallContext& call) -> CK_RV {
        const auto token = call.token();
        if (info == nullptr || info->size < minimalInfoSize)
            return CKR_ARGUMENTS_BAD;
        // The caller's size word says how much of the record it has; write nothing beyond it.
        const CK_ULONG size = info->size;
        const CK_TOKEN_INFO_EXTENDED full = tokenInfoExtended(token);
        std::memcpy(info, &full, std::min<CK_ULONG>(size, sizeof full));
        info->size = size;
        return CKR_OK;
    });
}

CK_RV unblockUserPin(CK_SESSION_HANDLE handle)
{
    return module().onWriteSession("C_EX_UnblockUserPIN", handle, {{"session", handle}},
                                   [&](CallContext& call) -> CK_RV {
                                       if (loginOf(call) != Login::admin)
                                           return CKR_USER_NOT_LOGGED_IN;
                                       return call.change([](qvtoken::TokenState& token) {
                                           token.userPin.unblock();
                                           if (token.switches.unblockResetsLocalPins)
                                               for (auto& entry : token.directory)
                                                   if (auto* local = std::get_if<qvtoken::LocalPin>(&entry))
                                                       local->pin.unblock();
                                           return CKR_OK;
                                       });
                                   });
}

CK_RV setTokenName(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR label, CK_ULONG length)
{
    return module().onWriteSession("C_EX_SetTokenName", handle, {{"session", handle}, {"length", length}},
                                   [&](CallContext& call) -> CK_RV {
                                       if (loginOf(call) == Login::none)
                                           return CKR_USER_NOT_LOGGED_IN;
                                       if (userPinExpired(call))
                                           return CKR_PIN_EXPIRED;
                                       if (length > maxLabelLength || (label == nullptr && length != 0))
                                           return CKR_ARGUMENTS_BAD;
                                       return call.change([&](qvtoken::TokenState& token) {
                                           token.label.assign(label, label + length);
                                           return CKR_OK;
                                       });
                                   });
}

CK_RV getTokenName(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR label, CK_ULONG_PTR length)
{
    return module().onSession("C_EX_GetTokenName", handle, {{"session", handle}, {"buffer", label != nullptr}},
                              [&](CallContext& call) -> CK_RV {
                                  if (length == nullptr)
                                      return CKR_ARGUMENTS_BAD;
                                  const auto token = call.token();
                                  return answerList(label, length, token.label.size(), [&](CK_UTF8CHAR_PTR out) {
                                      std::copy(token.label.begin(), token.label.end(), out);
                                  });
                              });
}

CK_RV setLocalPin(CK_SLOT_ID slot, CK_UTF8CHAR_PTR authPin, CK_ULONG authLength, CK_UTF8CHAR_PTR newPin,
                  CK_ULONG newLength, CK_ULONG id)
{
    return module().onSlot("C_EX_SetLocalPIN", slot,
                           {{"slot", slot}, {"authPinLength", authLength}, {"newPinLength", newLength}, {"id", id}},
                           [&](CallContext& call) -> CK_RV {
                               return call.change([&](qvtoken::TokenState& token) {
                                   return qvstandin::setLocalPin(token, authPin, authLength, newPin, newLength, id);
                               });
                           });
}

CK_RV getVolumesInfo(CK_SLOT_ID slot, CK_VOLUME_INFO_EXTENDED* volumes, CK_ULONG_PTR count)
{
    return module().onSlot("C_EX_GetVolumesInfo", slot, {{"slot", slot}, {"array", volumes != nullptr}},
                           [&](CallContext& call) -> CK_RV {
                               const auto token = call.token();
                               if (!token.drive.present)
                                   return CKR_FUNCTION_NOT_SUPPORTED;
                               if (count == nullptr)
                                   return CKR_ARGUMENTS_BAD;
                               const auto& sections = token.drive.sections;
                               return answerList(volumes, count, sections.size(), [&](CK_VOLUME_INFO_EXTENDED* out) {
                                   for (const auto& s : sections)
                                       *out++ = CK_VOLUME_INFO_EXTENDED{s.number, s.size, token.drive.currentAccess(s),
                                                                        qvtoken::ownerCode(token, s), 0};
                               });
                           });
}

CK_RV getDriveSize(CK_SLOT_ID slot, CK_ULONG_PTR sizeMb)
{
    return module().onSlot("C_EX_GetDriveSize", slot, {{"slot", slot}}, [&](CallContext& call) -> CK_RV {
        const auto token = call.token();
        if (!token.drive.present)
            return CKR_FUNCTION_NOT_SUPPORTED;
        if (sizeMb == nullptr)
            return CKR_ARGUMENTS_BAD;
        *sizeMb = token.drive.sizeMb;
        return CKR_OK;
    });
}

CK_RV changeVolumeAttributes(CK_SLOT_ID slot, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pin, CK_ULONG length,
                             CK_ULONG volumeId, CK_ULONG accessMode, CK_BBOOL permanent)
{
    return module().onSlot("C_EX_ChangeVolumeAttributes", slot,
                           {{"slot", slot},
                            {"userType", userType},
                            {"pinLength", length},
                            {"volume", volumeId},
                            {"access", accessMode},
                            {"permanent", permanent}},
                           [&](CallContext& call) -> CK_RV {
                               return call.change([&](qvtoken::TokenState& token) {
                                   return qvstandin::changeVolumeAttributes(token, userType, pin, length, volumeId,
                                                                            accessMode, permanent != CK_FALSE);
                               });
                           });
}

CK_RV formatDrive(CK_SLOT_ID slot, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pin, CK_ULONG length,
                  CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, CK_ULONG count)
{
    return module().onSlot("C_EX_FormatDrive", slot,
                           {{"slot", slot}, {"userType", userType}, {"pinLength", length}, {"count", count}},
                           [&](CallContext& call) -> CK_RV {
                               return call.change([&](qvtoken::TokenState& token) {
                                   return qvstandin::formatDrive(token, userType, pin, length, volumes, count);
                               });
                           });
}

CK_RV tokenManage(CK_SESSION_HANDLE handle, CK_ULONG operation, CK_VOID_PTR data)
{
    return module().onWriteSession("C_EX_TokenManage", handle, {{"session", handle}, {"operation", operation}},
                                   [&](CallContext& call) -> CK_RV {
                                       if (operation != QV_TOKEN_OP_FORCE_PIN_CHANGE)
                                           return CKR_FUNCTION_NOT_SUPPORTED;
                                       if (loginOf(call) != Login::admin)
                                           return CKR_USER_NOT_LOGGED_IN;
                                       if (data == nullptr)
                                           return CKR_ARGUMENTS_BAD;
                                       if (*static_cast<const CK_ULONG*>(data) != CKU_USER)
                                           return CKR_USER_TYPE_INVALID;
                                       return call.change([](qvtoken::TokenState& token) {
                                           token.userPinToBeChanged = true;
                                           return CKR_OK;
                                       });
                                   });
}

CK_RV slotManage(CK_SLOT_ID slot, CK_ULONG operation, CK_VOID_PTR data)
{
    const CK_ULONG id =
        operation == QV_SLOT_OP_LOCAL_PIN_INFO && data != nullptr ? static_cast<LocalPinInfo*>(data)->id : 0;
    return module().onSlot("C_EX_SlotManage", slot, {{"slot", slot}, {"operation", operation}, {"id", id}},
                           [&](CallContext& call) -> CK_RV {
                               const auto token = call.token();
                               if (operation == QV_SLOT_OP_LOCAL_PIN_INFO) {
                                   if (data == nullptr)
                                       return CKR_ARGUMENTS_BAD;
                                   return localPinInfo(token, *static_cast<LocalPinInfo*>(data));
                               }
                               if (operation == QV_SLOT_OP_TLS_QUERY) {
                                   if (token.switches.noTlsQuery)
                                       return CKR_FUNCTION_NOT_SUPPORTED;
                                   if (data == nullptr)
                                       return CKR_ARGUMENTS_BAD;
                                   static_cast<CK_QUORVIK_TLS_QUERY*>(data)->isTls = token.tls ? 1 : 0;
                                   return CKR_OK;
                               }
                               return CKR_FUNCTION_NOT_SUPPORTED;
                           });
}

} // namespace qvstandin::entries
