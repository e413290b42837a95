#pragma once

#include "pkcs11/AttributeType.h"
#include "pkcs11/Pkcs11Interface.h"
#include "pkcs11/Template.h"

#include <vector>

namespace quorvik::pkcs11 {

namespace detail {
class Wrapper;
}

// An object handle found in a session; the session must outlive it.
class Object {
public:
    Object(const detail::Wrapper& wrapper, CK_SESSION_HANDLE session, CK_OBJECT_HANDLE handle);

    // The requested attributes the object has and shows; the others are left out.
    Template getAttributeValue(const std::vector<AttributeType>& types) const;
    void setAttributeValue(Template&& values);

private:
    const detail::Wrapper* wrapper_;
    CK_SESSION_HANDLE session_;
    CK_OBJECT_HANDLE handle_;
};

} // namespace quorvik::pkcs11
