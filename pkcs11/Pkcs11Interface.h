#pragma once

// The interface between qvadmin and the token maker's PKCS#11 module qvpkcs11zrn: the standard
// function table (PKCS#11 v2.40, entries in the standard's order), the maker's extended table,
// and the records, constants and return values exchanged through them. Both the program's
// bindings and the project's stand-in module include this one header, so a layout mistake shows
// on both sides at once; the static assertions pin every size and offset the module relies on
// (LP64: CK_ULONG is 8 bytes, natural alignment, no packing).

#include <cstddef>

// The names and the layout below are the standard's and the maker's, not the house style's
// (and the formatter does not settle on the wrapped function-pointer members).
// NOLINTBEGIN(readability-identifier-naming)
// clang-format off

// ---------------------------------------------------------------------------------------------
// Basic types

using CK_BYTE = unsigned char;
using CK_CHAR = CK_BYTE;
using CK_UTF8CHAR = CK_BYTE;
using CK_BBOOL = CK_BYTE;
using CK_ULONG = unsigned long;
using CK_LONG = long;
using CK_FLAGS = CK_ULONG;
using CK_RV = CK_ULONG;
using CK_SLOT_ID = CK_ULONG;
using CK_SESSION_HANDLE = CK_ULONG;
using CK_OBJECT_HANDLE = CK_ULONG;
using CK_OBJECT_CLASS = CK_ULONG;
using CK_HW_FEATURE_TYPE = CK_ULONG;
using CK_USER_TYPE = CK_ULONG;
using CK_ATTRIBUTE_TYPE = CK_ULONG;
using CK_MECHANISM_TYPE = CK_ULONG;
using CK_NOTIFICATION = CK_ULONG;

using CK_VOID_PTR = void*;
using CK_VOID_PTR_PTR = void**;
using CK_BYTE_PTR = CK_BYTE*;
using CK_UTF8CHAR_PTR = CK_UTF8CHAR*;
using CK_ULONG_PTR = CK_ULONG*;
using CK_SLOT_ID_PTR = CK_SLOT_ID*;
using CK_SESSION_HANDLE_PTR = CK_SESSION_HANDLE*;
using CK_OBJECT_HANDLE_PTR = CK_OBJECT_HANDLE*;
using CK_MECHANISM_TYPE_PTR = CK_MECHANISM_TYPE*;

inline constexpr CK_BBOOL CK_FALSE = 0;
inline constexpr CK_BBOOL CK_TRUE = 1;
inline constexpr CK_ULONG CK_UNAVAILABLE_INFORMATION = ~0UL;

static_assert(sizeof(CK_ULONG) == 8, "the module's records are laid out for an 8-byte CK_ULONG");
static_assert(sizeof(void*) == 8, "the module's tables are laid out for 8-byte pointers");

// ---------------------------------------------------------------------------------------------
// Standard records

struct CK_VERSION {
    CK_BYTE major;
    CK_BYTE minor;
};

struct CK_INFO {
    CK_VERSION cryptokiVersion;
    CK_UTF8CHAR manufacturerID[32];
    CK_FLAGS flags;
    CK_UTF8CHAR libraryDescription[32];
    CK_VERSION libraryVersion;
};

// Text fields are blank-padded and carry no terminating NUL.
struct CK_SLOT_INFO {
    CK_UTF8CHAR slotDescription[64];
    CK_UTF8CHAR manufacturerID[32];
    CK_FLAGS flags;
    CK_VERSION hardwareVersion;
    CK_VERSION firmwareVersion;
};

struct CK_TOKEN_INFO {
    CK_UTF8CHAR label[32];
    CK_UTF8CHAR manufacturerID[32];
    CK_UTF8CHAR model[16];
    CK_CHAR serialNumber[16];
    CK_FLAGS flags;
    CK_ULONG ulMaxSessionCount;
    CK_ULONG ulSessionCount;
    CK_ULONG ulMaxRwSessionCount;
    CK_ULONG ulRwSessionCount;
    CK_ULONG ulMaxPinLen;
    CK_ULONG ulMinPinLen;
    CK_ULONG ulTotalPublicMemory;
    CK_ULONG ulFreePublicMemory;
    CK_ULONG ulTotalPrivateMemory;
    CK_ULONG ulFreePrivateMemory;
    CK_VERSION hardwareVersion;
    CK_VERSION firmwareVersion;
    CK_CHAR utcTime[16];
};

struct CK_ATTRIBUTE {
    CK_ATTRIBUTE_TYPE type;
    CK_VOID_PTR pValue;
    CK_ULONG ulValueLen;
};

using CK_CREATEMUTEX = CK_RV (*)(CK_VOID_PTR_PTR ppMutex);
using CK_DESTROYMUTEX = CK_RV (*)(CK_VOID_PTR pMutex);
using CK_LOCKMUTEX = CK_RV (*)(CK_VOID_PTR pMutex);
using CK_UNLOCKMUTEX = CK_RV (*)(CK_VOID_PTR pMutex);

struct CK_C_INITIALIZE_ARGS {
    CK_CREATEMUTEX CreateMutex;
    CK_DESTROYMUTEX DestroyMutex;
    CK_LOCKMUTEX LockMutex;
    CK_UNLOCKMUTEX UnlockMutex;
    CK_FLAGS flags;
    CK_VOID_PTR pReserved;
};

using CK_NOTIFY = CK_RV (*)(CK_SESSION_HANDLE hSession, CK_NOTIFICATION event, CK_VOID_PTR pApplication);

// Records of entries the program never calls; only pointers to them appear in the table.
struct CK_MECHANISM;
struct CK_MECHANISM_INFO;
struct CK_SESSION_INFO;

using CK_INFO_PTR = CK_INFO*;
using CK_SLOT_INFO_PTR = CK_SLOT_INFO*;
using CK_TOKEN_INFO_PTR = CK_TOKEN_INFO*;
using CK_ATTRIBUTE_PTR = CK_ATTRIBUTE*;
using CK_MECHANISM_PTR = CK_MECHANISM*;
using CK_MECHANISM_INFO_PTR = CK_MECHANISM_INFO*;
using CK_SESSION_INFO_PTR = CK_SESSION_INFO*;
using CK_C_INITIALIZE_ARGS_PTR = CK_C_INITIALIZE_ARGS*;

// ---------------------------------------------------------------------------------------------
// Standard function table: the version word, then 68 entries in the standard's order.

struct CK_FUNCTION_LIST;
using CK_FUNCTION_LIST_PTR = CK_FUNCTION_LIST*;
using CK_FUNCTION_LIST_PTR_PTR = CK_FUNCTION_LIST_PTR*;

struct CK_FUNCTION_LIST {
    CK_VERSION version;

    CK_RV (*C_Initialize)(CK_VOID_PTR pInitArgs);
    CK_RV (*C_Finalize)(CK_VOID_PTR pReserved);
    CK_RV (*C_GetInfo)(CK_INFO_PTR pInfo);
    CK_RV (*C_GetFunctionList)(CK_FUNCTION_LIST_PTR_PTR ppFunctionList);

    CK_RV (*C_GetSlotList)(CK_BBOOL tokenPresent, CK_SLOT_ID_PTR pSlotList, CK_ULONG_PTR pulCount);
    CK_RV (*C_GetSlotInfo)(CK_SLOT_ID slotID, CK_SLOT_INFO_PTR pInfo);
    CK_RV (*C_GetTokenInfo)(CK_SLOT_ID slotID, CK_TOKEN_INFO_PTR pInfo);
    CK_RV (*C_GetMechanismList)(CK_SLOT_ID slotID, CK_MECHANISM_TYPE_PTR pMechanismList,
                                CK_ULONG_PTR pulCount);
    CK_RV (*C_GetMechanismInfo)(CK_SLOT_ID slotID, CK_MECHANISM_TYPE type, CK_MECHANISM_INFO_PTR pInfo);
    CK_RV (*C_InitToken)(CK_SLOT_ID slotID, CK_UTF8CHAR_PTR pPin, CK_ULONG ulPinLen, CK_UTF8CHAR_PTR pLabel);
    CK_RV (*C_InitPIN)(CK_SESSION_HANDLE hSession, CK_UTF8CHAR_PTR pPin, CK_ULONG ulPinLen);
    CK_RV (*C_SetPIN)(CK_SESSION_HANDLE hSession, CK_UTF8CHAR_PTR pOldPin, CK_ULONG ulOldLen,
                      CK_UTF8CHAR_PTR pNewPin, CK_ULONG ulNewLen);

    CK_RV (*C_OpenSession)(CK_SLOT_ID slotID, CK_FLAGS flags, CK_VOID_PTR pApplication, CK_NOTIFY Notify,
                           CK_SESSION_HANDLE_PTR phSession);
    CK_RV (*C_CloseSession)(CK_SESSION_HANDLE hSession);
    CK_RV (*C_CloseAllSessions)(CK_SLOT_ID slotID);
    CK_RV (*C_GetSessionInfo)(CK_SESSION_HANDLE hSession, CK_SESSION_INFO_PTR pInfo);
    CK_RV (*C_GetOperationState)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pOperationState,
                                 CK_ULONG_PTR pulOperationStateLen);
    CK_RV (*C_SetOperationState)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pOperationState,
                                 CK_ULONG ulOperationStateLen, CK_OBJECT_HANDLE hEncryptionKey,
                                 CK_OBJECT_HANDLE hAuthenticationKey);
    CK_RV (*C_Login)(CK_SESSION_HANDLE hSession, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pPin, CK_ULONG ulPinLen);
    CK_RV (*C_Logout)(CK_SESSION_HANDLE hSession);

    CK_RV (*C_CreateObject)(CK_SESSION_HANDLE hSession, CK_ATTRIBUTE_PTR pTemplate, CK_ULONG ulCount,
                            CK_OBJECT_HANDLE_PTR phObject);
    CK_RV (*C_CopyObject)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE hObject, CK_ATTRIBUTE_PTR pTemplate,
                          CK_ULONG ulCount, CK_OBJECT_HANDLE_PTR phNewObject);
    CK_RV (*C_DestroyObject)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE hObject);
    CK_RV (*C_GetObjectSize)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE hObject, CK_ULONG_PTR pulSize);
    CK_RV (*C_GetAttributeValue)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE hObject,
                                 CK_ATTRIBUTE_PTR pTemplate, CK_ULONG ulCount);
    CK_RV (*C_SetAttributeValue)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE hObject,
                                 CK_ATTRIBUTE_PTR pTemplate, CK_ULONG ulCount);
    CK_RV (*C_FindObjectsInit)(CK_SESSION_HANDLE hSession, CK_ATTRIBUTE_PTR pTemplate, CK_ULONG ulCount);
    CK_RV (*C_FindObjects)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE_PTR phObject, CK_ULONG ulMaxObjectCount,
                           CK_ULONG_PTR pulObjectCount);
    CK_RV (*C_FindObjectsFinal)(CK_SESSION_HANDLE hSession);

    CK_RV (*C_EncryptInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_Encrypt)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pData, CK_ULONG ulDataLen,
                       CK_BYTE_PTR pEncryptedData, CK_ULONG_PTR pulEncryptedDataLen);
    CK_RV (*C_EncryptUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pPart, CK_ULONG ulPartLen,
                             CK_BYTE_PTR pEncryptedPart, CK_ULONG_PTR pulEncryptedPartLen);
    CK_RV (*C_EncryptFinal)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pLastEncryptedPart,
                            CK_ULONG_PTR pulLastEncryptedPartLen);
    CK_RV (*C_DecryptInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_Decrypt)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pEncryptedData, CK_ULONG ulEncryptedDataLen,
                       CK_BYTE_PTR pData, CK_ULONG_PTR pulDataLen);
    CK_RV (*C_DecryptUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pEncryptedPart, CK_ULONG ulEncryptedPartLen,
                             CK_BYTE_PTR pPart, CK_ULONG_PTR pulPartLen);
    CK_RV (*C_DecryptFinal)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pLastPart, CK_ULONG_PTR pulLastPartLen);
    CK_RV (*C_DigestInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism);
    CK_RV (*C_Digest)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pData, CK_ULONG ulDataLen, CK_BYTE_PTR pDigest,
                      CK_ULONG_PTR pulDigestLen);
    CK_RV (*C_DigestUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pPart, CK_ULONG ulPartLen);
    CK_RV (*C_DigestKey)(CK_SESSION_HANDLE hSession, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_DigestFinal)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pDigest, CK_ULONG_PTR pulDigestLen);
    CK_RV (*C_SignInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_Sign)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pData, CK_ULONG ulDataLen, CK_BYTE_PTR pSignature,
                    CK_ULONG_PTR pulSignatureLen);
    CK_RV (*C_SignUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pPart, CK_ULONG ulPartLen);
    CK_RV (*C_SignFinal)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pSignature, CK_ULONG_PTR pulSignatureLen);
    CK_RV (*C_SignRecoverInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_SignRecover)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pData, CK_ULONG ulDataLen,
                           CK_BYTE_PTR pSignature, CK_ULONG_PTR pulSignatureLen);
    CK_RV (*C_VerifyInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_Verify)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pData, CK_ULONG ulDataLen, CK_BYTE_PTR pSignature,
                      CK_ULONG ulSignatureLen);
    CK_RV (*C_VerifyUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pPart, CK_ULONG ulPartLen);
    CK_RV (*C_VerifyFinal)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pSignature, CK_ULONG ulSignatureLen);
    CK_RV (*C_VerifyRecoverInit)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hKey);
    CK_RV (*C_VerifyRecover)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pSignature, CK_ULONG ulSignatureLen,
                             CK_BYTE_PTR pData, CK_ULONG_PTR pulDataLen);
    CK_RV (*C_DigestEncryptUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pPart, CK_ULONG ulPartLen,
                                   CK_BYTE_PTR pEncryptedPart, CK_ULONG_PTR pulEncryptedPartLen);
    CK_RV (*C_DecryptDigestUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pEncryptedPart,
                                   CK_ULONG ulEncryptedPartLen, CK_BYTE_PTR pPart, CK_ULONG_PTR pulPartLen);
    CK_RV (*C_SignEncryptUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pPart, CK_ULONG ulPartLen,
                                 CK_BYTE_PTR pEncryptedPart, CK_ULONG_PTR pulEncryptedPartLen);
    CK_RV (*C_DecryptVerifyUpdate)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pEncryptedPart,
                                   CK_ULONG ulEncryptedPartLen, CK_BYTE_PTR pPart, CK_ULONG_PTR pulPartLen);
    CK_RV (*C_GenerateKey)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_ATTRIBUTE_PTR pTemplate,
                           CK_ULONG ulCount, CK_OBJECT_HANDLE_PTR phKey);
    CK_RV (*C_GenerateKeyPair)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism,
                               CK_ATTRIBUTE_PTR pPublicKeyTemplate, CK_ULONG ulPublicKeyAttributeCount,
                               CK_ATTRIBUTE_PTR pPrivateKeyTemplate, CK_ULONG ulPrivateKeyAttributeCount,
                               CK_OBJECT_HANDLE_PTR phPublicKey, CK_OBJECT_HANDLE_PTR phPrivateKey);
    CK_RV (*C_WrapKey)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hWrappingKey,
                       CK_OBJECT_HANDLE hKey, CK_BYTE_PTR pWrappedKey, CK_ULONG_PTR pulWrappedKeyLen);
    CK_RV (*C_UnwrapKey)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hUnwrappingKey,
                         CK_BYTE_PTR pWrappedKey, CK_ULONG ulWrappedKeyLen, CK_ATTRIBUTE_PTR pTemplate,
                         CK_ULONG ulAttributeCount, CK_OBJECT_HANDLE_PTR phKey);
    CK_RV (*C_DeriveKey)(CK_SESSION_HANDLE hSession, CK_MECHANISM_PTR pMechanism, CK_OBJECT_HANDLE hBaseKey,
                         CK_ATTRIBUTE_PTR pTemplate, CK_ULONG ulAttributeCount, CK_OBJECT_HANDLE_PTR phKey);
    CK_RV (*C_SeedRandom)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pSeed, CK_ULONG ulSeedLen);
    CK_RV (*C_GenerateRandom)(CK_SESSION_HANDLE hSession, CK_BYTE_PTR pRandomData, CK_ULONG ulRandomLen);
    CK_RV (*C_GetFunctionStatus)(CK_SESSION_HANDLE hSession);
    CK_RV (*C_CancelFunction)(CK_SESSION_HANDLE hSession);
    CK_RV (*C_WaitForSlotEvent)(CK_FLAGS flags, CK_SLOT_ID_PTR pSlot, CK_VOID_PTR pReserved);
};

// ---------------------------------------------------------------------------------------------
// The maker's records (all words little-endian CK_ULONG except the serial bytes)

// Filled by the extended token information entry; the caller sets only `size` (256).
struct CK_TOKEN_INFO_EXTENDED {
    CK_ULONG size;
    CK_ULONG reserved8;
    CK_ULONG reserved16;
    CK_ULONG featureNumber;     // 32 or more: the token reports its own model name
    CK_ULONG reserved32;
    CK_ULONG flags;             // QV_TOKEN_FLAG_*
    CK_ULONG maxSoPinLen;
    CK_ULONG minSoPinLen;
    CK_ULONG maxUserPinLen;
    CK_ULONG minUserPinLen;
    CK_ULONG maxSoRetry;
    CK_ULONG soRetriesLeft;
    CK_ULONG maxUserRetry;
    CK_ULONG userRetriesLeft;
    CK_BYTE serial[8];          // most significant byte first
    CK_ULONG totalMemory;       // bytes
    CK_ULONG freeMemory;        // bytes
    CK_ULONG reserved136[9];
    CK_ULONG tokenClass;        // QV_TOKEN_CLASS_*
    CK_ULONG reserved216[5];
};

struct CK_VOLUME_INFO_EXTENDED {
    CK_ULONG id;
    CK_ULONG sizeMb;
    CK_ULONG accessMode;        // QV_ACCESS_*
    CK_ULONG owner;             // QV_OWNER_* or a local PIN id
    CK_ULONG reserved;
};

struct CK_VOLUME_FORMAT_INFO_EXTENDED {
    CK_ULONG sizeMb;
    CK_ULONG accessMode;
    CK_ULONG owner;
    CK_ULONG flags;             // always 0
};

// Local PIN information (slot operation QV_SLOT_OP_LOCAL_PIN_INFO); the caller sets only `id`.
struct LocalPinInfo {
    CK_ULONG id;
    CK_ULONG minPinLen;
    CK_ULONG maxPinLen;
    CK_ULONG maxRetry;
    CK_ULONG retriesLeft;
    CK_ULONG reserved;
};

// Token formatting parameters; PINs and label carry no terminator.
struct CK_QUORVIK_INIT_PARAM {
    CK_ULONG size;              // 112
    CK_ULONG repair;            // 1: the admin PIN is locked and not given
    CK_UTF8CHAR_PTR newSoPin;
    CK_ULONG newSoPinLen;
    CK_UTF8CHAR_PTR newUserPin;
    CK_ULONG newUserPinLen;
    CK_ULONG changePolicyFlags; // QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN | QV_TOKEN_FLAG_USER_CHANGES_USER_PIN
    CK_ULONG minSoPinLen;
    CK_ULONG minUserPinLen;
    CK_ULONG maxSoRetry;
    CK_ULONG maxUserRetry;
    CK_UTF8CHAR_PTR label;
    CK_ULONG labelLen;
    CK_ULONG reserved;
};

// TLS query (slot operation QV_SLOT_OP_TLS_QUERY); the caller zero-fills it.
struct CK_QUORVIK_TLS_QUERY {
    CK_ULONG reserved;
    CK_ULONG isTls;             // non-zero for a TLS token
};

// ---------------------------------------------------------------------------------------------
// The maker's extended function table: the version word, then one entry per 8-byte word. Words
// the program never calls are typed as taking nothing; a module fills them with stubs.

using CK_EX_UNUSED = CK_RV (*)();

struct CK_FUNCTION_LIST_EXTENDED;
using CK_FUNCTION_LIST_EXTENDED_PTR = CK_FUNCTION_LIST_EXTENDED*;
using CK_FUNCTION_LIST_EXTENDED_PTR_PTR = CK_FUNCTION_LIST_EXTENDED_PTR*;

struct CK_FUNCTION_LIST_EXTENDED {
    CK_VERSION version;
    CK_EX_UNUSED unused1;
    CK_RV (*C_EX_InitToken)(CK_SLOT_ID slotID, CK_UTF8CHAR_PTR pSoPin, CK_ULONG ulSoPinLen,
                            CK_QUORVIK_INIT_PARAM* pInitParam);
    CK_RV (*C_EX_GetTokenInfoExtended)(CK_SLOT_ID slotID, CK_TOKEN_INFO_EXTENDED* pInfo);
    CK_RV (*C_EX_UnblockUserPIN)(CK_SESSION_HANDLE hSession);
    CK_RV (*C_EX_SetTokenName)(CK_SESSION_HANDLE hSession, CK_UTF8CHAR_PTR pLabel, CK_ULONG ulLabelLen);
    CK_EX_UNUSED unused6;
    CK_EX_UNUSED unused7;
    CK_EX_UNUSED unused8;
    CK_EX_UNUSED unused9;
    CK_EX_UNUSED unused10;
    CK_EX_UNUSED unused11;
    CK_RV (*C_EX_GetTokenName)(CK_SESSION_HANDLE hSession, CK_UTF8CHAR_PTR pLabel, CK_ULONG_PTR pulLabelLen);
    CK_RV (*C_EX_SetLocalPIN)(CK_SLOT_ID slotID, CK_UTF8CHAR_PTR pUserPin, CK_ULONG ulUserPinLen,
                              CK_UTF8CHAR_PTR pNewLocalPin, CK_ULONG ulNewLocalPinLen, CK_ULONG ulLocalPinId);
    CK_EX_UNUSED unused14;
    CK_EX_UNUSED unused15;
    CK_RV (*C_EX_GetVolumesInfo)(CK_SLOT_ID slotID, CK_VOLUME_INFO_EXTENDED* pInfo, CK_ULONG_PTR pulInfoCount);
    CK_RV (*C_EX_GetDriveSize)(CK_SLOT_ID slotID, CK_ULONG_PTR pulDriveSizeMb);
    CK_RV (*C_EX_ChangeVolumeAttributes)(CK_SLOT_ID slotID, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pPin,
                                         CK_ULONG ulPinLen, CK_ULONG ulVolumeId, CK_ULONG ulAccessMode,
                                         CK_BBOOL bPermanent);
    CK_RV (*C_EX_FormatDrive)(CK_SLOT_ID slotID, CK_USER_TYPE userType, CK_UTF8CHAR_PTR pPin, CK_ULONG ulPinLen,
                              CK_VOLUME_FORMAT_INFO_EXTENDED* pFormatParams, CK_ULONG ulFormatParamsCount);
    CK_RV (*C_EX_TokenManage)(CK_SESSION_HANDLE hSession, CK_ULONG ulOperation, CK_VOID_PTR pData);
    CK_EX_UNUSED unused21;
    CK_EX_UNUSED unused22;
    CK_EX_UNUSED unused23;
    CK_EX_UNUSED unused24;
    CK_RV (*C_EX_SlotManage)(CK_SLOT_ID slotID, CK_ULONG ulOperation, CK_VOID_PTR pData);
};

// ---------------------------------------------------------------------------------------------
// The module's two entry points, found by name in the program's own image.

using CK_C_GetFunctionList = CK_RV (*)(CK_FUNCTION_LIST_PTR_PTR ppFunctionList);
using CK_C_EX_GetFunctionListExtended = CK_RV (*)(CK_FUNCTION_LIST_EXTENDED_PTR_PTR ppFunctionList);

inline constexpr char QV_GET_FUNCTION_LIST_NAME[] = "C_GetFunctionList";
inline constexpr char QV_GET_FUNCTION_LIST_EXTENDED_NAME[] = "C_EX_GetFunctionListExtended";

extern "C" {
__attribute__((visibility("default"))) CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR ppFunctionList);
__attribute__((visibility("default"))) CK_RV C_EX_GetFunctionListExtended(
    CK_FUNCTION_LIST_EXTENDED_PTR_PTR ppFunctionList);
}

// ---------------------------------------------------------------------------------------------
// Flags and codes

// Slot information flags
inline constexpr CK_FLAGS CKF_TOKEN_PRESENT = 0x1;
inline constexpr CK_FLAGS CKF_REMOVABLE_DEVICE = 0x2;
inline constexpr CK_FLAGS CKF_HW_SLOT = 0x4;

// Initialisation flags
inline constexpr CK_FLAGS CKF_LIBRARY_CANT_CREATE_OS_THREADS = 0x1;
inline constexpr CK_FLAGS CKF_OS_LOCKING_OK = 0x2;

// Session flags
inline constexpr CK_FLAGS CKF_RW_SESSION = 0x2;
inline constexpr CK_FLAGS CKF_SERIAL_SESSION = 0x4;

// User types
inline constexpr CK_USER_TYPE CKU_SO = 0;
inline constexpr CK_USER_TYPE CKU_USER = 1;

// Object classes and hardware feature types
inline constexpr CK_OBJECT_CLASS CKO_HW_FEATURE = 5;
inline constexpr CK_HW_FEATURE_TYPE CKH_VENDOR_DEFINED = 0x80000000UL;
inline constexpr CK_HW_FEATURE_TYPE CKH_QV_TOKEN_INFO = 0x80000001UL;
inline constexpr CK_HW_FEATURE_TYPE CKH_QV_PIN_POLICY = 0x80000006UL;
inline constexpr CK_HW_FEATURE_TYPE CKH_QV_TOUCH_INTERFACE = 0x80000007UL;

// Extended token information flags
inline constexpr CK_ULONG QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN = 0x1;
inline constexpr CK_ULONG QV_TOKEN_FLAG_USER_CHANGES_USER_PIN = 0x2;
inline constexpr CK_ULONG QV_TOKEN_FLAG_HAS_FLASH_DRIVE = 0x80;

// Token classes of the extended token information
inline constexpr CK_ULONG QV_TOKEN_CLASS_ZRN = 1;
inline constexpr CK_ULONG QV_TOKEN_CLASS_MOSK = 2;

// Feature number from which a token reports its own model name
inline constexpr CK_ULONG QV_FEATURE_NUMBER_MODEL_NAME = 32;

// Volume access modes (2, 4 and above 5 are unknown)
inline constexpr CK_ULONG QV_ACCESS_HIDDEN = 0;
inline constexpr CK_ULONG QV_ACCESS_READ_ONLY = 1;
inline constexpr CK_ULONG QV_ACCESS_READ_WRITE = 3;
inline constexpr CK_ULONG QV_ACCESS_CD_ROM = 5;

// Volume owners and user types of the extended entries: the admin, the user, or from
// QV_OWNER_FIRST_LOCAL_PIN on, the local PIN of that id (2 is unknown)
inline constexpr CK_ULONG QV_OWNER_ADMIN = 0;
inline constexpr CK_ULONG QV_OWNER_USER = 1;
inline constexpr CK_ULONG QV_OWNER_FIRST_LOCAL_PIN = 3;

// Operations of the token and slot management entries
inline constexpr CK_ULONG QV_TOKEN_OP_FORCE_PIN_CHANGE = 6;
inline constexpr CK_ULONG QV_SLOT_OP_LOCAL_PIN_INFO = 5;
inline constexpr CK_ULONG QV_SLOT_OP_TLS_QUERY = 0x82;

// Sizes the caller writes into the records' size words
inline constexpr CK_ULONG QV_TOKEN_INFO_EXTENDED_SIZE = 256;
inline constexpr CK_ULONG QV_INIT_PARAM_SIZE = 112;

// Attribute types
inline constexpr CK_ATTRIBUTE_TYPE CKA_CLASS = 0x0;
inline constexpr CK_ATTRIBUTE_TYPE CKA_TOKEN = 0x1;
inline constexpr CK_ATTRIBUTE_TYPE CKA_PRIVATE = 0x2;
inline constexpr CK_ATTRIBUTE_TYPE CKA_LABEL = 0x3;
inline constexpr CK_ATTRIBUTE_TYPE CKA_APPLICATION = 0x10;
inline constexpr CK_ATTRIBUTE_TYPE CKA_VALUE = 0x11;
inline constexpr CK_ATTRIBUTE_TYPE CKA_OBJECT_ID = 0x12;
inline constexpr CK_ATTRIBUTE_TYPE CKA_CERTIFICATE_TYPE = 0x80;
inline constexpr CK_ATTRIBUTE_TYPE CKA_ISSUER = 0x81;
inline constexpr CK_ATTRIBUTE_TYPE CKA_SERIAL_NUMBER = 0x82;
inline constexpr CK_ATTRIBUTE_TYPE CKA_TRUSTED = 0x86;
inline constexpr CK_ATTRIBUTE_TYPE CKA_CERTIFICATE_CATEGORY = 0x87;
inline constexpr CK_ATTRIBUTE_TYPE CKA_HASH_OF_SUBJECT_PUBLIC_KEY = 0x8A;
inline constexpr CK_ATTRIBUTE_TYPE CKA_HASH_OF_ISSUER_PUBLIC_KEY = 0x8B;
inline constexpr CK_ATTRIBUTE_TYPE CKA_CHECK_VALUE = 0x90;
inline constexpr CK_ATTRIBUTE_TYPE CKA_KEY_TYPE = 0x100;
inline constexpr CK_ATTRIBUTE_TYPE CKA_SUBJECT = 0x101;
inline constexpr CK_ATTRIBUTE_TYPE CKA_ID = 0x102;
inline constexpr CK_ATTRIBUTE_TYPE CKA_SENSITIVE = 0x103;
inline constexpr CK_ATTRIBUTE_TYPE CKA_ENCRYPT = 0x104;
inline constexpr CK_ATTRIBUTE_TYPE CKA_DECRYPT = 0x105;
inline constexpr CK_ATTRIBUTE_TYPE CKA_WRAP = 0x106;
inline constexpr CK_ATTRIBUTE_TYPE CKA_UNWRAP = 0x107;
inline constexpr CK_ATTRIBUTE_TYPE CKA_SIGN = 0x108;
inline constexpr CK_ATTRIBUTE_TYPE CKA_SIGN_RECOVER = 0x109;
inline constexpr CK_ATTRIBUTE_TYPE CKA_VERIFY = 0x10A;
inline constexpr CK_ATTRIBUTE_TYPE CKA_VERIFY_RECOVER = 0x10B;
inline constexpr CK_ATTRIBUTE_TYPE CKA_DERIVE = 0x10C;
inline constexpr CK_ATTRIBUTE_TYPE CKA_MODULUS = 0x120;
inline constexpr CK_ATTRIBUTE_TYPE CKA_PUBLIC_EXPONENT = 0x122;
inline constexpr CK_ATTRIBUTE_TYPE CKA_PRIVATE_EXPONENT = 0x123;
inline constexpr CK_ATTRIBUTE_TYPE CKA_PRIME_1 = 0x124;
inline constexpr CK_ATTRIBUTE_TYPE CKA_PRIME_2 = 0x125;
inline constexpr CK_ATTRIBUTE_TYPE CKA_EXPONENT_1 = 0x126;
inline constexpr CK_ATTRIBUTE_TYPE CKA_EXPONENT_2 = 0x127;
inline constexpr CK_ATTRIBUTE_TYPE CKA_COEFFICIENT = 0x128;
inline constexpr CK_ATTRIBUTE_TYPE CKA_EXTRACTABLE = 0x162;
inline constexpr CK_ATTRIBUTE_TYPE CKA_LOCAL = 0x163;
inline constexpr CK_ATTRIBUTE_TYPE CKA_NEVER_EXTRACTABLE = 0x164;
inline constexpr CK_ATTRIBUTE_TYPE CKA_ALWAYS_SENSITIVE = 0x165;
inline constexpr CK_ATTRIBUTE_TYPE CKA_MODIFIABLE = 0x170;
inline constexpr CK_ATTRIBUTE_TYPE CKA_EC_PARAMS = 0x180;
inline constexpr CK_ATTRIBUTE_TYPE CKA_EC_POINT = 0x181;
inline constexpr CK_ATTRIBUTE_TYPE CKA_HW_FEATURE_TYPE = 0x300;
inline constexpr CK_ATTRIBUTE_TYPE CKA_VENDOR_DEFINED = 0x80000000UL;

// The maker's attribute types. The three without a known role are named by their value.
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_80000009 = 0x80000009UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_CURRENT_INTERFACE = 0x80003003UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_SUPPORTED_INTERFACES = 0x80003004UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_MODEL_NAME = 0x80003010UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_REMOVE_ON_FORMAT = 0x80003201UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_MIN_LENGTH = 0x80003203UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_HISTORY_DEPTH = 0x80003204UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_DEFAULT_ALLOWED = 0x80003205UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_DIGIT_REQUIRED = 0x80003206UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_UPPER_REQUIRED = 0x80003207UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_LOWER_REQUIRED = 0x80003208UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_SPECIAL_REQUIRED = 0x80003209UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_DIFFERENT_CHARS_REQUIRED = 0x8000320AUL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_PIN_POLICY_USER_TYPE = 0x8000320BUL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_TOUCH_MODE = 0x80003400UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_TOUCH_PRESENCE_TIME_LIMIT = 0x80003401UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_TOUCH_ACTION_TIMEOUT = 0x80003402UL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_8000800D = 0x8000800DUL;
inline constexpr CK_ATTRIBUTE_TYPE CKA_QV_8000800E = 0x8000800EUL;

// Touch modes
inline constexpr CK_ULONG QV_TOUCH_MODE_DISCRETE = 0;
inline constexpr CK_ULONG QV_TOUCH_MODE_CONTINUOUS = 1;

// ---------------------------------------------------------------------------------------------
// Return values

inline constexpr CK_RV CKR_OK = 0x0;
inline constexpr CK_RV CKR_CANCEL = 0x1;
inline constexpr CK_RV CKR_HOST_MEMORY = 0x2;
inline constexpr CK_RV CKR_SLOT_ID_INVALID = 0x3;
inline constexpr CK_RV CKR_GENERAL_ERROR = 0x5;
inline constexpr CK_RV CKR_FUNCTION_FAILED = 0x6;
inline constexpr CK_RV CKR_ARGUMENTS_BAD = 0x7;
inline constexpr CK_RV CKR_NO_EVENT = 0x8;
inline constexpr CK_RV CKR_NEED_TO_CREATE_THREADS = 0x9;
inline constexpr CK_RV CKR_CANT_LOCK = 0xA;
inline constexpr CK_RV CKR_ATTRIBUTE_READ_ONLY = 0x10;
inline constexpr CK_RV CKR_ATTRIBUTE_SENSITIVE = 0x11;
inline constexpr CK_RV CKR_ATTRIBUTE_TYPE_INVALID = 0x12;
inline constexpr CK_RV CKR_ATTRIBUTE_VALUE_INVALID = 0x13;
inline constexpr CK_RV CKR_ACTION_PROHIBITED = 0x1B;
inline constexpr CK_RV CKR_DATA_INVALID = 0x20;
inline constexpr CK_RV CKR_DATA_LEN_RANGE = 0x21;
inline constexpr CK_RV CKR_DEVICE_ERROR = 0x30;
inline constexpr CK_RV CKR_DEVICE_MEMORY = 0x31;
inline constexpr CK_RV CKR_DEVICE_REMOVED = 0x32;
inline constexpr CK_RV CKR_ENCRYPTED_DATA_INVALID = 0x40;
inline constexpr CK_RV CKR_ENCRYPTED_DATA_LEN_RANGE = 0x41;
inline constexpr CK_RV CKR_FUNCTION_CANCELED = 0x50;
inline constexpr CK_RV CKR_FUNCTION_NOT_PARALLEL = 0x51;
inline constexpr CK_RV CKR_FUNCTION_NOT_SUPPORTED = 0x54;
inline constexpr CK_RV CKR_KEY_HANDLE_INVALID = 0x60;
inline constexpr CK_RV CKR_KEY_SIZE_RANGE = 0x62;
inline constexpr CK_RV CKR_KEY_TYPE_INCONSISTENT = 0x63;
inline constexpr CK_RV CKR_KEY_NOT_NEEDED = 0x64;
inline constexpr CK_RV CKR_KEY_CHANGED = 0x65;
inline constexpr CK_RV CKR_KEY_NEEDED = 0x66;
inline constexpr CK_RV CKR_KEY_INDIGESTIBLE = 0x67;
inline constexpr CK_RV CKR_KEY_FUNCTION_NOT_PERMITTED = 0x68;
inline constexpr CK_RV CKR_KEY_NOT_WRAPPABLE = 0x69;
inline constexpr CK_RV CKR_KEY_UNEXTRACTABLE = 0x6A;
inline constexpr CK_RV CKR_MECHANISM_INVALID = 0x70;
inline constexpr CK_RV CKR_MECHANISM_PARAM_INVALID = 0x71;
inline constexpr CK_RV CKR_OBJECT_HANDLE_INVALID = 0x82;
inline constexpr CK_RV CKR_OPERATION_ACTIVE = 0x90;
inline constexpr CK_RV CKR_OPERATION_NOT_INITIALIZED = 0x91;
inline constexpr CK_RV CKR_PIN_INCORRECT = 0xA0;
inline constexpr CK_RV CKR_PIN_INVALID = 0xA1;
inline constexpr CK_RV CKR_PIN_LEN_RANGE = 0xA2;
inline constexpr CK_RV CKR_PIN_EXPIRED = 0xA3;
inline constexpr CK_RV CKR_PIN_LOCKED = 0xA4;
inline constexpr CK_RV CKR_SESSION_CLOSED = 0xB0;
inline constexpr CK_RV CKR_SESSION_COUNT = 0xB1;
inline constexpr CK_RV CKR_SESSION_HANDLE_INVALID = 0xB3;
inline constexpr CK_RV CKR_SESSION_PARALLEL_NOT_SUPPORTED = 0xB4;
inline constexpr CK_RV CKR_SESSION_READ_ONLY = 0xB5;
inline constexpr CK_RV CKR_SESSION_EXISTS = 0xB6;
inline constexpr CK_RV CKR_SESSION_READ_ONLY_EXISTS = 0xB7;
inline constexpr CK_RV CKR_SESSION_READ_WRITE_SO_EXISTS = 0xB8;
inline constexpr CK_RV CKR_SIGNATURE_INVALID = 0xC0;
inline constexpr CK_RV CKR_SIGNATURE_LEN_RANGE = 0xC1;
inline constexpr CK_RV CKR_TEMPLATE_INCOMPLETE = 0xD0;
inline constexpr CK_RV CKR_TEMPLATE_INCONSISTENT = 0xD1;
inline constexpr CK_RV CKR_TOKEN_NOT_PRESENT = 0xE0;
inline constexpr CK_RV CKR_TOKEN_NOT_RECOGNIZED = 0xE1;
inline constexpr CK_RV CKR_TOKEN_WRITE_PROTECTED = 0xE2;
inline constexpr CK_RV CKR_UNWRAPPING_KEY_HANDLE_INVALID = 0xF0;
inline constexpr CK_RV CKR_UNWRAPPING_KEY_SIZE_RANGE = 0xF1;
inline constexpr CK_RV CKR_UNWRAPPING_KEY_TYPE_INCONSISTENT = 0xF2;
inline constexpr CK_RV CKR_USER_ALREADY_LOGGED_IN = 0x100;
inline constexpr CK_RV CKR_USER_NOT_LOGGED_IN = 0x101;
inline constexpr CK_RV CKR_USER_PIN_NOT_INITIALIZED = 0x102;
inline constexpr CK_RV CKR_USER_TYPE_INVALID = 0x103;
inline constexpr CK_RV CKR_USER_ANOTHER_ALREADY_LOGGED_IN = 0x104;
inline constexpr CK_RV CKR_USER_TOO_MANY_TYPES = 0x105;
inline constexpr CK_RV CKR_WRAPPED_KEY_INVALID = 0x110;
inline constexpr CK_RV CKR_WRAPPED_KEY_LEN_RANGE = 0x112;
inline constexpr CK_RV CKR_WRAPPING_KEY_HANDLE_INVALID = 0x113;
inline constexpr CK_RV CKR_WRAPPING_KEY_SIZE_RANGE = 0x114;
inline constexpr CK_RV CKR_WRAPPING_KEY_TYPE_INCONSISTENT = 0x115;
inline constexpr CK_RV CKR_RANDOM_SEED_NOT_SUPPORTED = 0x120;
inline constexpr CK_RV CKR_RANDOM_NO_RNG = 0x121;
inline constexpr CK_RV CKR_DOMAIN_PARAMS_INVALID = 0x130;
inline constexpr CK_RV CKR_CURVE_NOT_SUPPORTED = 0x140;
inline constexpr CK_RV CKR_BUFFER_TOO_SMALL = 0x150;
inline constexpr CK_RV CKR_SAVED_STATE_INVALID = 0x160;
inline constexpr CK_RV CKR_INFORMATION_SENSITIVE = 0x170;
inline constexpr CK_RV CKR_STATE_UNSAVEABLE = 0x180;
inline constexpr CK_RV CKR_CRYPTOKI_NOT_INITIALIZED = 0x190;
inline constexpr CK_RV CKR_CRYPTOKI_ALREADY_INITIALIZED = 0x191;
inline constexpr CK_RV CKR_MUTEX_BAD = 0x1A0;
inline constexpr CK_RV CKR_MUTEX_NOT_LOCKED = 0x1A1;
inline constexpr CK_RV CKR_NEW_PIN_MODE = 0x1B0;
inline constexpr CK_RV CKR_NEXT_OTP = 0x1B1;
inline constexpr CK_RV CKR_EXCEEDED_MAX_ITERATIONS = 0x1B5;
inline constexpr CK_RV CKR_FIPS_SELF_TEST_FAILED = 0x1B6;
inline constexpr CK_RV CKR_LIBRARY_LOAD_FAILED = 0x1B7;
inline constexpr CK_RV CKR_PIN_TOO_WEAK = 0x1B8;
inline constexpr CK_RV CKR_PUBLIC_KEY_INVALID = 0x1B9;
inline constexpr CK_RV CKR_FUNCTION_REJECTED = 0x200;
inline constexpr CK_RV CKR_VENDOR_DEFINED = 0x80000000UL;

// The maker's return values (0x80000007 has no name)
inline constexpr CK_RV CKR_CORRUPTED_MAPFILE = 0x80000001UL;
inline constexpr CK_RV CKR_WRONG_VERSION_FIELD = 0x80000002UL;
inline constexpr CK_RV CKR_WRONG_PKCS1_ENCODING = 0x80000003UL;
inline constexpr CK_RV CKR_QVPKCS11_DATA_CORRUPTED = 0x80000004UL;
inline constexpr CK_RV CKR_QVPKCS11_RSF_DATA_CORRUPTED = 0x80000005UL;
inline constexpr CK_RV CKR_SM_PASSWORD_INVALID = 0x80000006UL;
inline constexpr CK_RV CKR_VENDOR_EMITENT_KEY_BLOCKED = 0x80000008UL;
inline constexpr CK_RV CKR_CERT_CHAIN_NOT_VERIFIED = 0x80000009UL;
inline constexpr CK_RV CKR_INAPPROPRIATE_PIN = 0x8000000AUL;
inline constexpr CK_RV CKR_PIN_IN_HISTORY = 0x8000000BUL;

// ---------------------------------------------------------------------------------------------
// Layout checks

static_assert(sizeof(CK_VERSION) == 2);
static_assert(offsetof(CK_VERSION, minor) == 1);

static_assert(sizeof(CK_INFO) == 88);
static_assert(offsetof(CK_INFO, manufacturerID) == 2);
static_assert(offsetof(CK_INFO, flags) == 40);
static_assert(offsetof(CK_INFO, libraryDescription) == 48);
static_assert(offsetof(CK_INFO, libraryVersion) == 80);

static_assert(sizeof(CK_C_INITIALIZE_ARGS) == 48);
static_assert(offsetof(CK_C_INITIALIZE_ARGS, CreateMutex) == 0);
static_assert(offsetof(CK_C_INITIALIZE_ARGS, DestroyMutex) == 8);
static_assert(offsetof(CK_C_INITIALIZE_ARGS, LockMutex) == 16);
static_assert(offsetof(CK_C_INITIALIZE_ARGS, UnlockMutex) == 24);
static_assert(offsetof(CK_C_INITIALIZE_ARGS, flags) == 32);
static_assert(offsetof(CK_C_INITIALIZE_ARGS, pReserved) == 40);

static_assert(sizeof(CK_SLOT_INFO) == 112);
static_assert(offsetof(CK_SLOT_INFO, slotDescription) == 0);
static_assert(offsetof(CK_SLOT_INFO, manufacturerID) == 64);
static_assert(offsetof(CK_SLOT_INFO, flags) == 96);
static_assert(offsetof(CK_SLOT_INFO, hardwareVersion) == 104);
static_assert(offsetof(CK_SLOT_INFO, firmwareVersion) == 106);

static_assert(sizeof(CK_TOKEN_INFO) == 208);
static_assert(offsetof(CK_TOKEN_INFO, label) == 0);
static_assert(offsetof(CK_TOKEN_INFO, manufacturerID) == 32);
static_assert(offsetof(CK_TOKEN_INFO, model) == 64);
static_assert(offsetof(CK_TOKEN_INFO, serialNumber) == 80);
static_assert(offsetof(CK_TOKEN_INFO, flags) == 96);
static_assert(offsetof(CK_TOKEN_INFO, ulMaxSessionCount) == 104);
static_assert(offsetof(CK_TOKEN_INFO, ulSessionCount) == 112);
static_assert(offsetof(CK_TOKEN_INFO, ulMaxRwSessionCount) == 120);
static_assert(offsetof(CK_TOKEN_INFO, ulRwSessionCount) == 128);
static_assert(offsetof(CK_TOKEN_INFO, ulMaxPinLen) == 136);
static_assert(offsetof(CK_TOKEN_INFO, ulMinPinLen) == 144);
static_assert(offsetof(CK_TOKEN_INFO, ulTotalPublicMemory) == 152);
static_assert(offsetof(CK_TOKEN_INFO, ulFreePublicMemory) == 160);
static_assert(offsetof(CK_TOKEN_INFO, ulTotalPrivateMemory) == 168);
static_assert(offsetof(CK_TOKEN_INFO, ulFreePrivateMemory) == 176);
static_assert(offsetof(CK_TOKEN_INFO, hardwareVersion) == 184);
static_assert(offsetof(CK_TOKEN_INFO, firmwareVersion) == 186);
static_assert(offsetof(CK_TOKEN_INFO, utcTime) == 188);

static_assert(sizeof(CK_ATTRIBUTE) == 24);
static_assert(offsetof(CK_ATTRIBUTE, type) == 0);
static_assert(offsetof(CK_ATTRIBUTE, pValue) == 8);
static_assert(offsetof(CK_ATTRIBUTE, ulValueLen) == 16);

// Entry k of the standard table lies at offset 8k.
static_assert(sizeof(CK_FUNCTION_LIST) == 552);
static_assert(offsetof(CK_FUNCTION_LIST, C_Initialize) == 8);
static_assert(offsetof(CK_FUNCTION_LIST, C_Finalize) == 16);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetInfo) == 24);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetFunctionList) == 32);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetSlotList) == 40);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetSlotInfo) == 48);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetTokenInfo) == 56);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetMechanismList) == 64);
static_assert(offsetof(CK_FUNCTION_LIST, C_InitToken) == 80);
static_assert(offsetof(CK_FUNCTION_LIST, C_InitPIN) == 88);
static_assert(offsetof(CK_FUNCTION_LIST, C_SetPIN) == 96);
static_assert(offsetof(CK_FUNCTION_LIST, C_OpenSession) == 104);
static_assert(offsetof(CK_FUNCTION_LIST, C_CloseSession) == 112);
static_assert(offsetof(CK_FUNCTION_LIST, C_CloseAllSessions) == 120);
static_assert(offsetof(CK_FUNCTION_LIST, C_SetOperationState) == 144);
static_assert(offsetof(CK_FUNCTION_LIST, C_Login) == 152);
static_assert(offsetof(CK_FUNCTION_LIST, C_Logout) == 160);
static_assert(offsetof(CK_FUNCTION_LIST, C_CreateObject) == 168);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetObjectSize) == 192);
static_assert(offsetof(CK_FUNCTION_LIST, C_GetAttributeValue) == 200);
static_assert(offsetof(CK_FUNCTION_LIST, C_SetAttributeValue) == 208);
static_assert(offsetof(CK_FUNCTION_LIST, C_FindObjectsInit) == 216);
static_assert(offsetof(CK_FUNCTION_LIST, C_FindObjects) == 224);
static_assert(offsetof(CK_FUNCTION_LIST, C_FindObjectsFinal) == 232);
static_assert(offsetof(CK_FUNCTION_LIST, C_EncryptInit) == 240);
static_assert(offsetof(CK_FUNCTION_LIST, C_DigestInit) == 304);
static_assert(offsetof(CK_FUNCTION_LIST, C_SignInit) == 344);
static_assert(offsetof(CK_FUNCTION_LIST, C_VerifyInit) == 392);
static_assert(offsetof(CK_FUNCTION_LIST, C_DigestEncryptUpdate) == 440);
static_assert(offsetof(CK_FUNCTION_LIST, C_GenerateKey) == 472);
static_assert(offsetof(CK_FUNCTION_LIST, C_SeedRandom) == 512);
static_assert(offsetof(CK_FUNCTION_LIST, C_WaitForSlotEvent) == 544);

// Word k of the extended table lies at offset 8k.
static_assert(sizeof(CK_FUNCTION_LIST_EXTENDED) == 208);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused1) == 8);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_InitToken) == 16);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_GetTokenInfoExtended) == 24);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_UnblockUserPIN) == 32);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_SetTokenName) == 40);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused6) == 48);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused11) == 88);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_GetTokenName) == 96);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_SetLocalPIN) == 104);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused14) == 112);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused15) == 120);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_GetVolumesInfo) == 128);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_GetDriveSize) == 136);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_ChangeVolumeAttributes) == 144);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_FormatDrive) == 152);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_TokenManage) == 160);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused21) == 168);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, unused24) == 192);
static_assert(offsetof(CK_FUNCTION_LIST_EXTENDED, C_EX_SlotManage) == 200);

static_assert(sizeof(CK_TOKEN_INFO_EXTENDED) == QV_TOKEN_INFO_EXTENDED_SIZE);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, size) == 0);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, featureNumber) == 24);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, flags) == 40);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, maxSoPinLen) == 48);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, minSoPinLen) == 56);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, maxUserPinLen) == 64);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, minUserPinLen) == 72);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, maxSoRetry) == 80);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, soRetriesLeft) == 88);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, maxUserRetry) == 96);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, userRetriesLeft) == 104);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, serial) == 112);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, totalMemory) == 120);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, freeMemory) == 128);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, reserved136) == 136);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, tokenClass) == 208);
static_assert(offsetof(CK_TOKEN_INFO_EXTENDED, reserved216) == 216);

static_assert(sizeof(CK_VOLUME_INFO_EXTENDED) == 40);
static_assert(offsetof(CK_VOLUME_INFO_EXTENDED, sizeMb) == 8);
static_assert(offsetof(CK_VOLUME_INFO_EXTENDED, accessMode) == 16);
static_assert(offsetof(CK_VOLUME_INFO_EXTENDED, owner) == 24);
static_assert(offsetof(CK_VOLUME_INFO_EXTENDED, reserved) == 32);

static_assert(sizeof(CK_VOLUME_FORMAT_INFO_EXTENDED) == 32);
static_assert(offsetof(CK_VOLUME_FORMAT_INFO_EXTENDED, accessMode) == 8);
static_assert(offsetof(CK_VOLUME_FORMAT_INFO_EXTENDED, owner) == 16);
static_assert(offsetof(CK_VOLUME_FORMAT_INFO_EXTENDED, flags) == 24);

static_assert(sizeof(LocalPinInfo) == 48);
static_assert(offsetof(LocalPinInfo, minPinLen) == 8);
static_assert(offsetof(LocalPinInfo, retriesLeft) == 32);

static_assert(sizeof(CK_QUORVIK_INIT_PARAM) == QV_INIT_PARAM_SIZE);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, repair) == 8);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, newSoPin) == 16);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, newSoPinLen) == 24);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, newUserPin) == 32);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, newUserPinLen) == 40);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, changePolicyFlags) == 48);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, minSoPinLen) == 56);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, minUserPinLen) == 64);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, maxSoRetry) == 72);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, maxUserRetry) == 80);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, label) == 88);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, labelLen) == 96);
static_assert(offsetof(CK_QUORVIK_INIT_PARAM, reserved) == 104);

static_assert(sizeof(CK_QUORVIK_TLS_QUERY) == 16);
static_assert(offsetof(CK_QUORVIK_TLS_QUERY, isTls) == 8);

// clang-format on
// NOLINTEND(readability-identifier-naming)
