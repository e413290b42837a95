#pragma once

#include "cli/BaseTypedCliOption.h"
#include "cli/TypedOptionAttributes.h"

#include <type_traits>

template <auto* Attributes>
using AttributesValueType = typename std::remove_cv_t<std::remove_pointer_t<decltype(Attributes)>>::ValueType;

// Presents one static TypedOptionAttributes record, given by its address.
template <auto* Attributes>
class TypedCliOption : public BaseTypedCliOption<AttributesValueType<Attributes>> {
public:
    using T = AttributesValueType<Attributes>;

    OptionKey const& key() const override
    {
        return Attributes->key;
    }

    CliElementDescription const& description() const override
    {
        return Attributes->description;
    }

    std::optional<T> const& defaultValue() const override
    {
        return Attributes->defaultValue;
    }

    std::optional<std::string> const& valueName() const override
    {
        return Attributes->valueName;
    }

    bool isRequired() const override
    {
        return Attributes->isRequired;
    }

    bool isMultitoken() const override
    {
        return Attributes->isMultitoken;
    }

    std::optional<T> Config::*configField() const override
    {
        return Attributes->configField;
    }
};
