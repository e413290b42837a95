#include "pkcs11/Slot.h"

#include "pkcs11/Token.h"
#include "pkcs11/Wrapper.h"

namespace quorvik::pkcs11 {

Slot::Slot(const detail::Wrapper& wrapper, CK_SLOT_ID id) : wrapper_(wrapper), id_(id)
{
    CK_SLOT_INFO info{};
    wrapper_.getSlotInfo(id_, &info);
    if (info.flags & CKF_TOKEN_PRESENT)
        token_ = std::make_shared<Token>(wrapper_, id_, info);
}

} // namespace quorvik::pkcs11
