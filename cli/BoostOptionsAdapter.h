#pragma once

#include "cli/BaseFlagCliOption.h"
#include "cli/BaseTypedCliOption.h"
#include "cli/Config.h"
#include "cli/DescriptionLayout.h"
#include "cli/OptionsHolder.h"
#include "cli/TypedValueSemantic.h"
#include "cli/internalError.h"

#include <boost/make_shared.hpp>
#include <boost/program_options/options_description.hpp>
#include <boost/program_options/value_semantic.hpp>
#include <boost/shared_ptr.hpp>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <utility>

namespace options {

namespace detail {

template <typename T, typename = void>
struct IsPrintable : std::false_type {
};

template <typename T>
struct IsPrintable<T, std::void_t<decltype(std::declval<std::ostream&>() << std::declval<const T&>())>>
    : std::true_type {
};

std::string buildFullKey(const OptionKey& key);

// The configured value when the option's configuration member is set, else the
// record's own default (possibly none).
template <typename T>
std::optional<T> defaultCandidate(const BaseTypedCliOption<T>& option, const Config& config)
{
    if (const auto field = option.configField(); field != nullptr && (config.*field).has_value()) {
        return config.*field;
    }
    return option.defaultValue();
}

template <typename T>
void setDefault(boost::program_options::typed_value<T>& semantic, T const& value)
{
    if constexpr (std::is_same_v<T, bool>) {
        semantic.default_value(value, value ? "true" : "false");
    } else if constexpr (IsPrintable<T>::value) {
        semantic.default_value(value);
    } else {
        // The help could not show such a default.
        throw NotPrintableTypeError();
    }
}

template <typename T>
boost::shared_ptr<boost::program_options::option_description>
makeDescription(const BaseTypedCliOption<T>& option, const Config& config, const std::string& text)
{
    std::unique_ptr<boost::program_options::typed_value<T>> semantic(options::value<T>());
    if (const auto candidate = defaultCandidate(option, config)) {
        setDefault(*semantic, *candidate);
    }
    if (const auto& valueName = option.valueName()) {
        semantic->value_name(*valueName);
    }
    if (option.isRequired()) {
        semantic->required();
    }
    if (option.isMultitoken()) {
        semantic->multitoken();
    }
    return boost::make_shared<boost::program_options::option_description>(buildFullKey(option.key()).c_str(),
                                                                          semantic.release(), text.c_str());
}

boost::shared_ptr<boost::program_options::option_description>
makeDescription(const BaseFlagCliOption& option, const Config& config, const std::string& text);

} // namespace detail

// Turns an option list into the option library's descriptions, with defaults taken
// from the configuration at hand.
template <typename... Opts>
class BoostOptionsAdapter {
public:
    using Formatter = std::function<std::string(const std::string&)>;

    BoostOptionsAdapter(const OptionsHolder<Opts...>& holder, Formatter formatter)
        : holder(holder), formatter(std::move(formatter))
    {
    }

    static std::string buildFullKey(const OptionKey& key) { return detail::buildFullKey(key); }

    static std::string defaultFormatter(const std::string& text) { return text; }

    void addOptionsDescription(const Config& config, boost::program_options::options_description& desc) const
    {
        (add(holder.template get<Opts>(), config, desc), ...);
    }

private:
    template <typename Opt>
    void add(const Opt& option, const Config& config, boost::program_options::options_description& desc) const
    {
        desc.add(detail::makeDescription(option, config, formatter(option.description().english)));
    }

    const OptionsHolder<Opts...>& holder;
    Formatter formatter;
};

} // namespace options
