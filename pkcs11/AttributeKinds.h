#pragma once

#include "pkcs11/Attribute.h"
#include "pkcs11/AttributeValues.h"
#include "pkcs11/Pkcs11Exception.h"

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvik::pkcs11 {
namespace detail {

// Holds a fixed-size value; the kinds below add how they are built from a module record.
template <AttributeType Type, typename Value, typename Derived>
class AttributeValueHolder : public Attribute {
public:
    using value_type = Value;

    std::unique_ptr<Attribute> clone() const override
    {
        return std::make_unique<Derived>(static_cast<const Derived&>(*this));
    }

    bool equal(const Attribute& other) const override
    {
        if (other.type() != Type)
            return false;
        const auto* same = dynamic_cast<const Derived*>(&other);
        return same != nullptr && same->value_ == value_;
    }

    AttributeType type() const override { return Type; }
    CK_ULONG valueLen() const override { return sizeof(Value); }
    void* valuePtr() override { return &value_; }

    const Value& value() const noexcept { return value_; }

protected:
    explicit AttributeValueHolder(Value value) : value_(std::move(value)) {}

    // A fixed-size kind takes a module record only when its length is exactly the value's.
    static Value zeroOfLength(const CK_ATTRIBUTE& raw)
    {
        if (raw.ulValueLen != sizeof(Value))
            throw WrongAttributeLengthException();
        return Value{};
    }

    Value value_;
};

// The module writes a CK_BBOOL byte, which may hold any value: it is kept as that byte and any
// non-zero byte reads as true (a byte read straight into a bool would be undefined behaviour).
template <AttributeType Type>
class BoolAttribute : public AttributeValueHolder<Type, CK_BBOOL, BoolAttribute<Type>> {
    using Base = AttributeValueHolder<Type, CK_BBOOL, BoolAttribute<Type>>;

public:
    using value_type = bool;

    explicit BoolAttribute(bool value) : Base(value ? CK_TRUE : CK_FALSE) {}
    explicit BoolAttribute(const CK_ATTRIBUTE& raw) : Base(Base::zeroOfLength(raw)) {}

    bool value() const noexcept { return this->value_ != CK_FALSE; }

    bool equal(const Attribute& other) const override
    {
        const auto* same = dynamic_cast<const BoolAttribute*>(&other);
        return same != nullptr && same->value() == value();
    }
};

template <AttributeType Type, typename Value>
class ScalarAttribute : public AttributeValueHolder<Type, Value, ScalarAttribute<Type, Value>> {
    using Base = AttributeValueHolder<Type, Value, ScalarAttribute<Type, Value>>;
    static_assert(std::is_same_v<Value, unsigned long> || std::is_same_v<Value, unsigned char>);

public:
    explicit ScalarAttribute(Value value) : Base(value) {}
    explicit ScalarAttribute(const CK_ATTRIBUTE& raw) : Base(Base::zeroOfLength(raw)) {}
};

template <AttributeType Type, typename E>
class EnumAttribute : public AttributeValueHolder<Type, E, EnumAttribute<Type, E>> {
    using Base = AttributeValueHolder<Type, E, EnumAttribute<Type, E>>;
    static_assert(sizeof(E) == sizeof(CK_ULONG), "enumeration attributes are CK_ULONG words");

public:
    explicit EnumAttribute(E value) : Base(value) {}
    explicit EnumAttribute(const CK_ATTRIBUTE& raw) : Base(Base::zeroOfLength(raw)) {}
};

// Variable-length kinds: any length is accepted and the value is sized to it.
template <AttributeType Type>
class StringAttribute : public AttributeValueHolder<Type, std::string, StringAttribute<Type>> {
    using Base = AttributeValueHolder<Type, std::string, StringAttribute<Type>>;

public:
    explicit StringAttribute(std::string value) : Base(std::move(value)) {}
    explicit StringAttribute(const CK_ATTRIBUTE& raw) : Base(std::string(raw.ulValueLen, '\0')) {}

    CK_ULONG valueLen() const override { return this->value_.size(); }
    void* valuePtr() override { return this->value_.data(); }
};

template <AttributeType Type>
class BufferAttribute : public AttributeValueHolder<Type, std::vector<unsigned char>, BufferAttribute<Type>> {
    using Base = AttributeValueHolder<Type, std::vector<unsigned char>, BufferAttribute<Type>>;

public:
    explicit BufferAttribute(std::vector<unsigned char> value) : Base(std::move(value)) {}
    explicit BufferAttribute(const CK_ATTRIBUTE& raw) : Base(std::vector<unsigned char>(raw.ulValueLen)) {}

    CK_ULONG valueLen() const override { return this->value_.size(); }
    void* valuePtr() override { return this->value_.data(); }
};

} // namespace detail

// The attribute class of each type: AttributeOf<AttributeType::Label> is the string kind.
template <AttributeType Type>
struct AttributeKindOf;

#define QV_PKCS11_KIND_BOOL(name, value)                                                                               \
    template <>                                                                                                        \
    struct AttributeKindOf<AttributeType::name> {                                                                      \
        using type = detail::BoolAttribute<AttributeType::name>;                                                       \
    };
#define QV_PKCS11_KIND_STRING(name, value)                                                                             \
    template <>                                                                                                        \
    struct AttributeKindOf<AttributeType::name> {                                                                      \
        using type = detail::StringAttribute<AttributeType::name>;                                                     \
    };
#define QV_PKCS11_KIND_BUFFER(name, value)                                                                             \
    template <>                                                                                                        \
    struct AttributeKindOf<AttributeType::name> {                                                                      \
        using type = detail::BufferAttribute<AttributeType::name>;                                                     \
    };
#define QV_PKCS11_KIND_SCALAR(name, value, V)                                                                          \
    template <>                                                                                                        \
    struct AttributeKindOf<AttributeType::name> {                                                                      \
        using type = detail::ScalarAttribute<AttributeType::name, V>;                                                  \
    };
#define QV_PKCS11_KIND_ENUM(name, value, E)                                                                            \
    template <>                                                                                                        \
    struct AttributeKindOf<AttributeType::name> {                                                                      \
        using type = detail::EnumAttribute<AttributeType::name, E>;                                                    \
    };
QV_PKCS11_ATTRIBUTE_TYPES(QV_PKCS11_KIND_BOOL, QV_PKCS11_KIND_STRING, QV_PKCS11_KIND_BUFFER, QV_PKCS11_KIND_SCALAR,
                          QV_PKCS11_KIND_ENUM)
#undef QV_PKCS11_KIND_BOOL
#undef QV_PKCS11_KIND_STRING
#undef QV_PKCS11_KIND_BUFFER
#undef QV_PKCS11_KIND_SCALAR
#undef QV_PKCS11_KIND_ENUM

template <AttributeType Type>
using AttributeOf = typename AttributeKindOf<Type>::type;

} // namespace quorvik::pkcs11
