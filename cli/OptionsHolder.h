#pragma once

#include <type_traits>

// Gives the one object of each option class of a list, made on first use (the PIN
// options build their texts then) and kept until exit.
template <typename... Opts>
class OptionsHolder {
public:
    template <typename Opt>
    const Opt& get() const
    {
        static_assert((std::is_same_v<Opt, Opts> || ...), "option class is not in this list");
        static const Opt opt{};
        return opt;
    }
};
