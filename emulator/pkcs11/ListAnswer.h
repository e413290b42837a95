#pragma once

#include "pkcs11/Pkcs11Interface.h"

namespace qvstandin {

// The two-call protocol of entries that return a list: without a buffer, or with one too
// small, the caller learns how many items there are; otherwise `fill` writes them.
template <typename Item, typename Fill>
CK_RV answerList(Item* buffer, CK_ULONG_PTR count, CK_ULONG needed, Fill fill)
{
    if (buffer == nullptr) {
        *count = needed;
        return CKR_OK;
    }
    if (*count < needed) {
        *count = needed;
        return CKR_BUFFER_TOO_SMALL;
    }
    fill(buffer);
    *count = needed;
    return CKR_OK;
}

} // namespace qvstandin
