// A module whose tokens come and go while the bindings list its slots.

#include "pkcs11/Pkcs11Interface.h"

#include <cstring>

namespace {

// Slot 7 holds a token throughout; slot 9 holds one at the count query only (pulled out), or
// only from the listing call on (plugged in).
bool arriving = false;
int listCalls = 0;
int slotInfoCalls = 0;

CK_RV initialize(CK_VOID_PTR)
{
    listCalls = 0;
    slotInfoCalls = 0;
    return CKR_OK;
}

CK_RV finalize(CK_VOID_PTR)
{
    return CKR_OK;
}

CK_RV getSlotList(CK_BBOOL, CK_SLOT_ID_PTR list, CK_ULONG_PTR count)
{
    const bool countQuery = ++listCalls == 1;
    const CK_ULONG present = arriving ? (countQuery ? 0 : 2) : (countQuery ? 2 : 1);
    if (list == nullptr || *count < present) {
        const CK_RV rv = list == nullptr ? CKR_OK : CKR_BUFFER_TOO_SMALL;
        *count = present;
        return rv;
    }
    const CK_SLOT_ID ids[] = {7, 9};
    std::memcpy(list, ids, present * sizeof(CK_SLOT_ID));
    *count = present;
    return CKR_OK;
}

CK_RV getSlotInfo(CK_SLOT_ID slot, CK_SLOT_INFO_PTR info)
{
    ++slotInfoCalls;
    if (slot != 7 && slot != 9)
        return CKR_SLOT_ID_INVALID;
    std::memset(info, ' ', sizeof info->slotDescription + sizeof info->manufacturerID);
    std::memcpy(info->slotDescription, slot == 7 ? "Reader 7" : "Reader 9", 8);
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

} // namespace

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

__attribute__((visibility("default"))) void changingSlotsArrive(bool arrive)
{
    arriving = arrive;
}

__attribute__((visibility("default"))) int changingSlotsListCalls()
{
    return listCalls;
}

__attribute__((visibility("default"))) int changingSlotsSlotInfoCalls()
{
    return slotInfoCalls;
}
}
