#pragma once

#include "pkcs11/Pkcs11Interface.h"

namespace qvstandin {

// The module's two static tables; every word points to a function, none is null.
CK_FUNCTION_LIST& standardFunctionList();
CK_FUNCTION_LIST_EXTENDED& extendedFunctionList();

} // namespace qvstandin
