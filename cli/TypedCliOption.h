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

    const OptionKey& key() const override { return Attributes->key; }

    const CliElementDescription& description() const override { return Attributes->description; }

    const std::optional<T>& defaultValue() const override { return Attributes->defaultValue; }

    const std::optional<std::string>& valueName() const override { return Attributes->valueName; }

    bool isRequired() const override { return Attributes->isRequired; }

    bool isMultitoken() const override { return Attributes->isMultitoken; }

    std::optional<T> Config::*configField() const override { return Attributes->configField; }
};
