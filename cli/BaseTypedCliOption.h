#pragma once

#include "cli/BaseCliOption.h"
#include "cli/Config.h"

#include <optional>
#include <string>

template <typename T>
class BaseTypedCliOption : public BaseCliOption {
public:
    using ValueType = T;

    virtual const std::optional<T>& defaultValue() const = 0;
    virtual const std::optional<std::string>& valueName() const = 0;
    virtual bool isRequired() const = 0;
    virtual bool isMultitoken() const = 0;
    virtual std::optional<T> Config::*configField() const = 0;
};
