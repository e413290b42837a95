#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <memory>

namespace quorvik::pkcs11 {

namespace detail {
class Wrapper;
}
class Token;

// One slot as the module listed it at start-up, with the token it held then.
class Slot {
public:
    Slot(const detail::Wrapper& wrapper, CK_SLOT_ID id);

    // Null when the slot held no token.
    std::shared_ptr<Token> token() const { return token_; }

private:
    const detail::Wrapper& wrapper_;
    CK_SLOT_ID id_;
    std::shared_ptr<Token> token_;
};

} // namespace quorvik::pkcs11
