#pragma once

#include "pkcs11/AttributeType.h"
#include "pkcs11/Pkcs11Interface.h"

#include <memory>

namespace quorvik::pkcs11 {

// One typed attribute value; the module reads and writes it through valuePtr/valueLen.
class Attribute {
public:
    virtual ~Attribute() = default;

    virtual std::unique_ptr<Attribute> clone() const = 0;
    virtual bool equal(const Attribute& other) const = 0;
    virtual AttributeType type() const = 0;
    virtual CK_ULONG valueLen() const = 0;
    virtual void* valuePtr() = 0;

    // The attribute of `raw.type` with a zeroed value of `raw.ulValueLen` bytes; `raw.pValue` is
    // not read. Throws WrongAttributeTypeException for a type the bindings do not know and
    // WrongAttributeLengthException for a length the type's kind does not accept.
    static std::unique_ptr<Attribute> create(const CK_ATTRIBUTE& raw);

protected:
    Attribute() = default;
    Attribute(const Attribute&) = default;
    Attribute& operator=(const Attribute&) = default;
};

} // namespace quorvik::pkcs11
