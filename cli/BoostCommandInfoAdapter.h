#pragma once

#include "cli/BoostOptionsAdapter.h"
#include "cli/CommandInfo.h"

#include <boost/any.hpp>
#include <boost/program_options/variables_map.hpp>

#include <stdexcept>
#include <type_traits>
#include <utility>

namespace options {

template <typename Opt>
using OptionValueType = typename std::decay_t<decltype(std::declval<const Opt&>().defaultValue())>::value_type;

// Joins a command's options to the parser: their descriptions (each text followed by a
// newline) and the typed lookup of their parsed values.
template <typename... Opts>
class BoostCommandInfoAdapter : public BoostOptionsAdapter<Opts...> {
public:
    explicit BoostCommandInfoAdapter(const CommandInfo<Opts...>& info)
        : BoostOptionsAdapter<Opts...>(info.optionsHolder(), &descriptionFormatter), info(info)
    {
    }

    const CommandInfo<Opts...>& commandInfo() const { return info; }

    static std::string descriptionFormatter(const std::string& text) { return text + "\n"; }

    boost::program_options::options_description getOptionsDescription(const Config& config) const
    {
        boost::program_options::options_description desc(kLineLength, kMinDescriptionLength);
        this->addOptionsDescription(config, desc);
        return desc;
    }

    // The option's value, looked up by its long name; absent -> std::out_of_range,
    // stored with another type -> boost::bad_any_cast.
    template <typename Opt>
    static OptionValueType<Opt> value(const boost::program_options::variables_map* variables)
    {
        const auto& name = OptionsHolder<Opts...>().template get<Opt>().key().name;
        const auto it = variables->find(name);
        if (it == variables->end()) {
            // Spelled out so that every platform reports the same text.
            throw std::out_of_range("map::at:  key not found");
        }
        return boost::any_cast<OptionValueType<Opt>>(it->second.value());
    }

private:
    const CommandInfo<Opts...>& info;
};

} // namespace options
