#include "FunctionTables.h"

// Left out of the variant that lacks the maker's extended table, the only difference between
// the two builds of the module.
CK_RV C_EX_GetFunctionListExtended(CK_FUNCTION_LIST_EXTENDED_PTR_PTR list)
{
    if (list == nullptr)
        return CKR_ARGUMENTS_BAD;
    *list = &qvstandin::extendedFunctionList();
    return CKR_OK;
}
