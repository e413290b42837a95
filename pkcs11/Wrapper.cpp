#include "pkcs11/Wrapper.h"

#include "pkcs11/Pkcs11Exception.h"

namespace quorvik::pkcs11::detail {

Wrapper::Wrapper(CK_FUNCTION_LIST* functions, CK_FUNCTION_LIST_EXTENDED* extended)
    : functions_(functions), extended_(extended)
{
}

void Wrapper::check(CK_RV rv) const
{
    if (rv != CKR_OK) {
        Pkcs11Exception::emit(rv, std::nullopt);
    }
}

void Wrapper::initialize(void* initArgs) const
{
    check(functions_->C_Initialize(initArgs));
}

void Wrapper::finalize(void* reserved) const
{
    check(functions_->C_Finalize(reserved));
}

void Wrapper::getSlotList(unsigned char tokenPresent, CK_SLOT_ID* slots, unsigned long* count) const
{
    check(functions_->C_GetSlotList(tokenPresent, slots, count));
}

void Wrapper::getSlotInfo(unsigned long slot, CK_SLOT_INFO* info) const
{
    check(functions_->C_GetSlotInfo(slot, info));
}

void Wrapper::getTokenInfo(unsigned long slot, CK_TOKEN_INFO* info) const
{
    check(functions_->C_GetTokenInfo(slot, info));
}

void Wrapper::initPIN(unsigned long session, unsigned char* pin, unsigned long pinLen) const
{
    check(functions_->C_InitPIN(session, pin, pinLen));
}

void Wrapper::setPIN(unsigned long session, unsigned char* oldPin, unsigned long oldLen, unsigned char* newPin,
                     unsigned long newLen) const
{
    check(functions_->C_SetPIN(session, oldPin, oldLen, newPin, newLen));
}

void Wrapper::openSession(unsigned long slot, unsigned long flags, void* application, CK_NOTIFY notify,
                          unsigned long* session) const
{
    check(functions_->C_OpenSession(slot, flags, application, notify, session));
}

void Wrapper::closeSession(unsigned long session) const
{
    check(functions_->C_CloseSession(session));
}

void Wrapper::login(unsigned long session, unsigned long userType, unsigned char* pin, unsigned long pinLen) const
{
    check(functions_->C_Login(session, userType, pin, pinLen));
}

void Wrapper::logout(unsigned long session) const
{
    check(functions_->C_Logout(session));
}

void Wrapper::getAttributeValue(unsigned long session, unsigned long object, CK_ATTRIBUTE* attributes,
                                unsigned long count) const
{
    check(functions_->C_GetAttributeValue(session, object, attributes, count));
}

void Wrapper::setAttributeValue(unsigned long session, unsigned long object, CK_ATTRIBUTE* attributes,
                                unsigned long count) const
{
    check(functions_->C_SetAttributeValue(session, object, attributes, count));
}

void Wrapper::findObjectsInit(unsigned long session, CK_ATTRIBUTE* attributes, unsigned long count) const
{
    check(functions_->C_FindObjectsInit(session, attributes, count));
}

void Wrapper::findObjects(unsigned long session, unsigned long* objects, unsigned long capacity,
                          unsigned long* found) const
{
    check(functions_->C_FindObjects(session, objects, capacity, found));
}

void Wrapper::findObjectsFinal(unsigned long session) const
{
    check(functions_->C_FindObjectsFinal(session));
}

void Wrapper::exInitToken(unsigned long slot, unsigned char* soPin, unsigned long soPinLen,
                          CK_QUORVIK_INIT_PARAM* param) const
{
    check(extended_->C_EX_InitToken(slot, soPin, soPinLen, param));
}

void Wrapper::exGetTokenInfoExtended(unsigned long slot, CK_TOKEN_INFO_EXTENDED* info) const
{
    check(extended_->C_EX_GetTokenInfoExtended(slot, info));
}

void Wrapper::exUnblockUserPin(unsigned long session) const
{
    check(extended_->C_EX_UnblockUserPIN(session));
}

void Wrapper::exSetTokenName(unsigned long session, unsigned char* label, unsigned long labelLen) const
{
    check(extended_->C_EX_SetTokenName(session, label, labelLen));
}

void Wrapper::exGetTokenName(unsigned long session, unsigned char* label, unsigned long* labelLen) const
{
    check(extended_->C_EX_GetTokenName(session, label, labelLen));
}

void Wrapper::exSetLocalPIN(unsigned long slot, unsigned char* userPin, unsigned long userPinLen,
                            unsigned char* localPin, unsigned long localPinLen, unsigned long localPinId) const
{
    check(extended_->C_EX_SetLocalPIN(slot, userPin, userPinLen, localPin, localPinLen, localPinId));
}

void Wrapper::exGetVolumesInfo(unsigned long slot, CK_VOLUME_INFO_EXTENDED* volumes, unsigned long* count) const
{
    check(extended_->C_EX_GetVolumesInfo(slot, volumes, count));
}

void Wrapper::exGetDriveSize(unsigned long slot, unsigned long* sizeMb) const
{
    check(extended_->C_EX_GetDriveSize(slot, sizeMb));
}

void Wrapper::exChangeVolumeAttributes(unsigned long slot, unsigned long userType, unsigned char* pin,
                                       unsigned long pinLen, unsigned long volumeId, unsigned long accessMode,
                                       unsigned char permanent) const
{
    check(extended_->C_EX_ChangeVolumeAttributes(slot, userType, pin, pinLen, volumeId, accessMode, permanent));
}

void Wrapper::exFormatDrive(unsigned long slot, unsigned long userType, unsigned char* pin, unsigned long pinLen,
                            CK_VOLUME_FORMAT_INFO_EXTENDED* volumes, unsigned long count) const
{
    check(extended_->C_EX_FormatDrive(slot, userType, pin, pinLen, volumes, count));
}

void Wrapper::exTokenManage(unsigned long session, unsigned long operation, void* data) const
{
    check(extended_->C_EX_TokenManage(session, operation, data));
}

void Wrapper::exSlotManage(unsigned long slot, unsigned long operation, void* data) const
{
    check(extended_->C_EX_SlotManage(slot, operation, data));
}

} // namespace quorvik::pkcs11::detail
