// A module that offers only the standard table, as a module built for another program would.

#include "pkcs11/Pkcs11Interface.h"

namespace {

int initializeCalls = 0;
CK_RV getterResult = CKR_OK;

CK_RV initialize(CK_VOID_PTR)
{
    ++initializeCalls;
    return CKR_OK;
}

CK_RV finalize(CK_VOID_PTR)
{
    return CKR_OK;
}

CK_FUNCTION_LIST functions = [] {
    CK_FUNCTION_LIST table{};
    table.version = {2, 40};
    table.C_Initialize = initialize;
    table.C_Finalize = finalize;
    return table;
}();

} // namespace

extern "C" {

CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR ppFunctionList)
{
    if (getterResult != CKR_OK)
        return getterResult;
    *ppFunctionList = &functions;
    return CKR_OK;
}

__attribute__((visibility("default"))) int tinyModuleInitializeCalls()
{
    return initializeCalls;
}

__attribute__((visibility("default"))) void tinyModuleSetGetterResult(CK_RV rv)
{
    getterResult = rv;
}
}
