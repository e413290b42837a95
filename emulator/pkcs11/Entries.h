#pragma once

#include "pkcs11/Pkcs11Interface.h"

// The module's entries as the two function tables hold them.
namespace qvstandin::entries {

CK_RV initialize(CK_VOID_PTR args);
CK_RV finalize(CK_VOID_PTR reserved);
CK_RV getInfo(CK_INFO_PTR info);
CK_RV getSlotList(CK_BBOOL tokenPresent, CK_SLOT_ID_PTR list, CK_ULONG_PTR count);
CK_RV getSlotInfo(CK_SLOT_ID slot, CK_SLOT_INFO_PTR info);
CK_RV getTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO_PTR info);
CK_RV getMechanismList(CK_SLOT_ID slot, CK_MECHANISM_TYPE_PTR list, CK_ULONG_PTR count);
CK_RV initPin(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR pin, CK_ULONG length);
CK_RV setPin(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR oldPin, CK_ULONG oldLength, CK_UTF8CHAR_PTR newPin,
             CK_ULONG newLength);
CK_RV openSession(CK_SLOT_ID slot, CK_FLAGS flags, CK_VOID_PTR application, CK_NOTIFY notify,
                  CK_SESSION_HANDLE_PTR handle);
CK_RV closeSession(CK_SESSION_HANDLE handle);
CK_RV login(CK_SESSION_HANDLE handle, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pin, CK_ULONG length);
CK_RV logout(CK_SESSION_HANDLE handle);
CK_RV getAttributeValue(CK_SESSION_HANDLE handle, CK_OBJECT_HANDLE object, CK_ATTRIBUTE_PTR templ, CK_ULONG count);
CK_RV setAttributeValue(CK_SESSION_HANDLE handle, CK_OBJECT_HANDLE object, CK_ATTRIBUTE_PTR templ, CK_ULONG count);
CK_RV findObjectsInit(CK_SESSION_HANDLE handle, CK_ATTRIBUTE_PTR templ, CK_ULONG count);
CK_RV findObjects(CK_SESSION_HANDLE handle, CK_OBJECT_HANDLE_PTR objects, CK_ULONG capacity, CK_ULONG_PTR found);
CK_RV findObjectsFinal(CK_SESSION_HANDLE handle);

CK_RV initToken(CK_SLOT_ID slot, CK_UTF8CHAR_PTR adminPin, CK_ULONG length, CK_QUORVIK_INIT_PARAM* params);
CK_RV getTokenInfoExtended(CK_SLOT_ID slot, CK_TOKEN_INFO_EXTENDED* info);
CK_RV unblockUserPin(CK_SESSION_HANDLE handle);
CK_RV setTokenName(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR label, CK_ULONG length);
CK_RV getTokenName(CK_SESSION_HANDLE handle, CK_UTF8CHAR_PTR label, CK_ULONG_PTR length);
CK_RV setLocalPin(CK_SLOT_ID slot, CK_UTF8CHAR_PTR authPin, CK_ULONG authLength, CK_UTF8CHAR_PTR newPin,
                  CK_ULONG newLength, CK_ULONG id);
CK_RV getVolumesInfo(CK_SLOT_ID slot, CK_VOLUME_INFO_EXTENDED* volumes, CK_ULONG_PTR count);
CK_RV getDriveSize(CK_SLOT_ID slot, CK_ULONG_PTR sizeMb);
CK_RV changeVolumeAttributes(CK_SLOT_ID slot, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pin, CK_ULONG length,
                             CK_ULONG volumeId, CK_ULONG accessMode, CK_BBOOL permanent);
CK_RV formatDrive(CK_SLOT_ID slot, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pin, CK_ULONG length,
                  CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, CK_ULONG count);
CK_RV tokenManage(CK_SESSION_HANDLE handle, CK_ULONG operation, CK_VOID_PTR data);
CK_RV slotManage(CK_SLOT_ID slot, CK_ULONG operation, CK_VOID_PTR data);

} // namespace qvstandin::entries
