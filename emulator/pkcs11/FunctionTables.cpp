#include "FunctionTables.h"

#include "Entries.h"

namespace qvstandin {

namespace {

// A stub of the right signature for every entry this module does not offer.
template <typename Entry>
struct Unsupported;

template <typename... Arguments>
struct Unsupported<CK_RV (*)(Arguments...)> {
    static CK_RV call(Arguments...) { return CKR_FUNCTION_NOT_SUPPORTED; }
};

#define QV_UNSUPPORTED(table, member) Unsupported<decltype(table::member)>::call
#define QV_STD_UNSUPPORTED(member) QV_UNSUPPORTED(CK_FUNCTION_LIST, member)
#define QV_EX_UNSUPPORTED(member) QV_UNSUPPORTED(CK_FUNCTION_LIST_EXTENDED, member)

using namespace entries;

} // namespace

CK_FUNCTION_LIST& standardFunctionList()
{
    static CK_FUNCTION_LIST list = {
        {2, 40},
        initialize,
        finalize,
        getInfo,
        C_GetFunctionList,
        getSlotList,
        getSlotInfo,
        getTokenInfo,
        getMechanismList,
        QV_STD_UNSUPPORTED(C_GetMechanismInfo),
        QV_STD_UNSUPPORTED(C_InitToken),
        initPin,
        setPin,
        openSession,
        closeSession,
        QV_STD_UNSUPPORTED(C_CloseAllSessions),
        QV_STD_UNSUPPORTED(C_GetSessionInfo),
        QV_STD_UNSUPPORTED(C_GetOperationState),
        QV_STD_UNSUPPORTED(C_SetOperationState),
        login,
        logout,
        QV_STD_UNSUPPORTED(C_CreateObject),
        QV_STD_UNSUPPORTED(C_CopyObject),
        QV_STD_UNSUPPORTED(C_DestroyObject),
        QV_STD_UNSUPPORTED(C_GetObjectSize),
        getAttributeValue,
        setAttributeValue,
        findObjectsInit,
        findObjects,
        findObjectsFinal,
        QV_STD_UNSUPPORTED(C_EncryptInit),
        QV_STD_UNSUPPORTED(C_Encrypt),
        QV_STD_UNSUPPORTED(C_EncryptUpdate),
        QV_STD_UNSUPPORTED(C_EncryptFinal),
        QV_STD_UNSUPPORTED(C_DecryptInit),
        QV_STD_UNSUPPORTED(C_Decrypt),
        QV_STD_UNSUPPORTED(C_DecryptUpdate),
        QV_STD_UNSUPPORTED(C_DecryptFinal),
        QV_STD_UNSUPPORTED(C_DigestInit),
        QV_STD_UNSUPPORTED(C_Digest),
        QV_STD_UNSUPPORTED(C_DigestUpdate),
        QV_STD_UNSUPPORTED(C_DigestKey),
        QV_STD_UNSUPPORTED(C_DigestFinal),
        QV_STD_UNSUPPORTED(C_SignInit),
        QV_STD_UNSUPPORTED(C_Sign),
        QV_STD_UNSUPPORTED(C_SignUpdate),
        QV_STD_UNSUPPORTED(C_SignFinal),
        QV_STD_UNSUPPORTED(C_SignRecoverInit),
        QV_STD_UNSUPPORTED(C_SignRecover),
        QV_STD_UNSUPPORTED(C_VerifyInit),
        QV_STD_UNSUPPORTED(C_Verify),
        QV_STD_UNSUPPORTED(C_VerifyUpdate),
        QV_STD_UNSUPPORTED(C_VerifyFinal),
        QV_STD_UNSUPPORTED(C_VerifyRecoverInit),
        QV_STD_UNSUPPORTED(C_VerifyRecover),
        QV_STD_UNSUPPORTED(C_DigestEncryptUpdate),
        QV_STD_UNSUPPORTED(C_DecryptDigestUpdate),
        QV_STD_UNSUPPORTED(C_SignEncryptUpdate),
        QV_STD_UNSUPPORTED(C_DecryptVerifyUpdate),
        QV_STD_UNSUPPORTED(C_GenerateKey),
        QV_STD_UNSUPPORTED(C_GenerateKeyPair),
        QV_STD_UNSUPPORTED(C_WrapKey),
        QV_STD_UNSUPPORTED(C_UnwrapKey),
        QV_STD_UNSUPPORTED(C_DeriveKey),
        QV_STD_UNSUPPORTED(C_SeedRandom),
        QV_STD_UNSUPPORTED(C_GenerateRandom),
        QV_STD_UNSUPPORTED(C_GetFunctionStatus),
        QV_STD_UNSUPPORTED(C_CancelFunction),
        QV_STD_UNSUPPORTED(C_WaitForSlotEvent),
    };
    return list;
}

CK_FUNCTION_LIST_EXTENDED& extendedFunctionList()
{
    static CK_FUNCTION_LIST_EXTENDED list = {
        {1, 0},
        QV_EX_UNSUPPORTED(unused1),
        initToken,
        getTokenInfoExtended,
        unblockUserPin,
        setTokenName,
        QV_EX_UNSUPPORTED(unused6),
        QV_EX_UNSUPPORTED(unused7),
        QV_EX_UNSUPPORTED(unused8),
        QV_EX_UNSUPPORTED(unused9),
        QV_EX_UNSUPPORTED(unused10),
        QV_EX_UNSUPPORTED(unused11),
        getTokenName,
        setLocalPin,
        QV_EX_UNSUPPORTED(unused14),
        QV_EX_UNSUPPORTED(unused15),
        getVolumesInfo,
        getDriveSize,
        changeVolumeAttributes,
        formatDrive,
        tokenManage,
        QV_EX_UNSUPPORTED(unused21),
        QV_EX_UNSUPPORTED(unused22),
        QV_EX_UNSUPPORTED(unused23),
        QV_EX_UNSUPPORTED(unused24),
        slotManage,
    };
    return list;
}

} // namespace qvstandin

CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR list)
{
    if (list == nullptr)
        return CKR_ARGUMENTS_BAD;
    *list = &qvstandin::standardFunctionList();
    return CKR_OK;
}
