#include "pkcs11/Attribute.h"

#include "pkcs11/AttributeKinds.h"

namespace quorvik::pkcs11 {

std::unique_ptr<Attribute> Attribute::create(const CK_ATTRIBUTE& raw)
{
    const auto type = static_cast<AttributeType>(raw.type);
    switch (type) {
#define QV_PKCS11_CREATE(name, ...)                                                                                    \
    case AttributeType::name:                                                                                          \
        return std::make_unique<AttributeOf<AttributeType::name>>(raw);
        QV_PKCS11_ATTRIBUTE_TYPES(QV_PKCS11_CREATE, QV_PKCS11_CREATE, QV_PKCS11_CREATE, QV_PKCS11_CREATE,
                                  QV_PKCS11_CREATE)
#undef QV_PKCS11_CREATE
    }
    throw WrongAttributeTypeException(type);
}

} // namespace quorvik::pkcs11
