// A module whose second token is pulled out between the count query and the listing call.

#include "pkcs11/Pkcs11Interface.h"

#include <cstring>

namespace {

int listCalls = 0;
int slotInfoCalls = 0;

CK_RV initialize(CK_VOID_PTR)
{
    return CKR_OK;
}

CK_RV finalize(CK_VOID_PTR)
{
    return CKR_OK;
}

CK_RV getSlotList(CK_BBOOL, CK_SLOT_ID_PTR list, CK_ULONG_PTR count)
{
    ++listCalls;
    if (list == nullptr) {
        *count = 2;
        return CKR_OK;
    }
    list[0] = 7;
    *count = 1;
    return CKR_OK;
}

CK_RV getSlotInfo(CK_SLOT_ID slot, CK_SLOT_INFO_PTR info)
{
    ++slotInfoCalls;
    if (slot != 7)
        return CKR_SLOT_ID_INVALID;
    std::memset(info, ' ', sizeof info->slotDescription + sizeof info->manufacturerID);
    std::memcpy(info->slotDescription, "Reader 7", 8);
    info->flags = CKF_TOKEN_PRESENT;
    return CKR_OK;
}

CK_FUNCTION_LIST functions = [] {
    CK_FUNCTION_LIST table{};
    table.C_Initialize = initialize;
    table.C_Finalize = finalize;
    table.C_GetSlotList = getSlotList;
    table.C_GetSlotInfo = getSlotInfo;
    return table;
}();

CK_FUNCTION_LIST_EXTENDED extended{};

}  // namespace

extern "C" {

CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR ppFunctionList)
{
    *ppFunctionList = &functions;
    return CKR_OK;
}

CK_RV C_EX_GetFunctionListExtended(CK_FUNCTION_LIST_EXTENDED_PTR_PTR ppFunctionList)
{
    *ppFunctionList = &extended;
    return CKR_OK;
}

__attribute__((visibility("default"))) int shrinkingModuleListCalls()
{
    return listCalls;
}

__attribute__((visibility("default"))) int shrinkingModuleSlotInfoCalls()
{
    return slotInfoCalls;
}
}
