#pragma once

#include "pkcs11/Pkcs11Interface.h"

namespace quorvik::pkcs11::detail {

// The only caller of the module's entries: each method calls one entry with its arguments as
// given and turns a return value other than CKR_OK into the exception of that value.
class Wrapper {
public:
    Wrapper(CK_FUNCTION_LIST* functions, CK_FUNCTION_LIST_EXTENDED* extended);
    // Slots, tokens and sessions hold references to the one wrapper.
    Wrapper(const Wrapper&) = delete;
    Wrapper& operator=(const Wrapper&) = delete;

    void initialize(void* initArgs) const;
    void finalize(void* reserved) const;
    void getSlotList(unsigned char tokenPresent, CK_SLOT_ID* slots, unsigned long* count) const;
    void getSlotInfo(unsigned long slot, CK_SLOT_INFO* info) const;
    void getTokenInfo(unsigned long slot, CK_TOKEN_INFO* info) const;
    void initPIN(unsigned long session, unsigned char* pin, unsigned long pinLen) const;
    void setPIN(unsigned long session, unsigned char* oldPin, unsigned long oldLen, unsigned char* newPin,
                unsigned long newLen) const;
    void openSession(unsigned long slot, unsigned long flags, void* application, CK_NOTIFY notify,
                     unsigned long* session) const;
    void closeSession(unsigned long session) const;
    void login(unsigned long session, unsigned long userType, unsigned char* pin, unsigned long pinLen) const;
    void logout(unsigned long session) const;
    void getAttributeValue(unsigned long session, unsigned long object, CK_ATTRIBUTE* attributes,
                           unsigned long count) const;
    void setAttributeValue(unsigned long session, unsigned long object, CK_ATTRIBUTE* attributes,
                           unsigned long count) const;
    void findObjectsInit(unsigned long session, CK_ATTRIBUTE* attributes, unsigned long count) const;
    void findObjects(unsigned long session, unsigned long* objects, unsigned long capacity, unsigned long* found) const;
    void findObjectsFinal(unsigned long session) const;

    void exInitToken(unsigned long slot, unsigned char* soPin, unsigned long soPinLen,
                     CK_QUORVIK_INIT_PARAM* param) const;
    void exGetTokenInfoExtended(unsigned long slot, CK_TOKEN_INFO_EXTENDED* info) const;
    void exUnblockUserPin(unsigned long session) const;
    void exSetTokenName(unsigned long session, unsigned char* label, unsigned long labelLen) const;
    void exGetTokenName(unsigned long session, unsigned char* label, unsigned long* labelLen) const;
    void exSetLocalPIN(unsigned long slot, unsigned char* userPin, unsigned long userPinLen, unsigned char* localPin,
                       unsigned long localPinLen, unsigned long localPinId) const;
    void exGetVolumesInfo(unsigned long slot, CK_VOLUME_INFO_EXTENDED* volumes, unsigned long* count) const;
    void exGetDriveSize(unsigned long slot, unsigned long* sizeMb) const;
    void exChangeVolumeAttributes(unsigned long slot, unsigned long userType, unsigned char* pin, unsigned long pinLen,
                                  unsigned long volumeId, unsigned long accessMode, unsigned char permanent) const;
    void exFormatDrive(unsigned long slot, unsigned long userType, unsigned char* pin, unsigned long pinLen,
                       CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, unsigned long count) const;
    void exTokenManage(unsigned long session, unsigned long operation, void* data) const;
    void exSlotManage(unsigned long slot, unsigned long operation, void* data) const;

private:
    void check(CK_RV rv) const;

    CK_FUNCTION_LIST* functions_;
    CK_FUNCTION_LIST_EXTENDED* extended_;
};

} // namespace quorvik::pkcs11::detail
