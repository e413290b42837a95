#pragma once

#include "cli/BaseCliOption.h"
#include "cli/Config.h"

#include <optional>
#include <string>

template <typename T>
class BaseTypedCliOption : public BaseCliOption {
public:
    using ValueType = T;

    virtual std::optional<T> const& defaultValue() const = 0;
    virtual std::optional<std::string> const& valueName() const = 0;
    virtual bool isRequired() const = 0;
    virtual bool isMultitoken() const = 0;
    virtual std::optional<T> Config::*configField() const = 0;
};
